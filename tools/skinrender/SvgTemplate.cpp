#include "tools/skinrender/SvgTemplate.h"

#include "tools/skinrender/RenderFailure.h"

#include <QFile>
#include <QRegularExpression>

namespace kestrova::skinrender {

namespace {

constexpr int kMaximumNesting = 8;

// The content between the root element's start tag and its end tag.
QString InnerDrawing(const QString& svg, const QString& name) {
    const qsizetype root = svg.indexOf(QLatin1String("<svg"));
    const qsizetype start = root < 0 ? -1 : svg.indexOf(u'>', root);
    const qsizetype end = svg.lastIndexOf(QLatin1String("</svg>"));
    if (start < 0 || end < start) Fail(QStringLiteral("%1 has no <svg> root with content").arg(name));
    return svg.mid(start + 1, end - start - 1);
}

QString ResolvedValue(const QString& value, const QDir& sourceFolder) {
    if (!value.startsWith(u'@')) return value;
    const QString name = value.mid(1);
    return InnerDrawing(ReadSourceFile(sourceFolder, name), name);
}

QString FillOnce(const QString& text, const TValues& values, const QDir& sourceFolder, const QString& name) {
    static const QRegularExpression placeholder(QStringLiteral("\\{\\{([A-Za-z0-9_]+)\\}\\}"));
    QString filled;
    qsizetype copied = 0;
    QRegularExpressionMatchIterator matches = placeholder.globalMatch(text);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        const auto value = values.find(match.captured(1));
        if (value == values.end())
            Fail(QStringLiteral("%1: no value for {{%2}}").arg(name, match.captured(1)));
        filled += QStringView(text).mid(copied, match.capturedStart() - copied);
        filled += ResolvedValue(value->second, sourceFolder);
        copied = match.capturedEnd();
    }
    filled += QStringView(text).mid(copied);
    return filled;
}

}  // namespace

QString ReadSourceFile(const QDir& sourceFolder, const QString& name) {
    QFile file(sourceFolder.filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        Fail(QStringLiteral("cannot read %1: %2").arg(file.fileName(), file.errorString()));
    return QString::fromUtf8(file.readAll());
}

QString ExpandTemplate(const QString& source, const TPictureJob& job, const QDir& sourceFolder) {
    TValues values = job.Values;
    values.try_emplace(QStringLiteral("width"), QString::number(job.Size.width()));
    values.try_emplace(QStringLiteral("height"), QString::number(job.Size.height()));
    QString text = source;
    for (int pass = 0; pass < kMaximumNesting; ++pass) {
        if (!text.contains(QLatin1String("{{"))) return text;
        text = FillOnce(text, values, sourceFolder, job.Source);
    }
    Fail(QStringLiteral("%1: placeholders nest deeper than %2 levels").arg(job.Source).arg(kMaximumNesting));
}

}  // namespace kestrova::skinrender
