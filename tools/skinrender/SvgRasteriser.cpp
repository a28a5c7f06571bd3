#include "tools/skinrender/SvgRasteriser.h"

#include "tools/skinrender/RenderFailure.h"

#include <QFontDatabase>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>

namespace kestrova::skinrender {

namespace {

// Collects the SVG renderer's warnings while one document is read and drawn.
class TSvgWarnings {
public:
    TSvgWarnings() : FPrevious(qInstallMessageHandler(&TSvgWarnings::Collect)) { Current() = this; }
    ~TSvgWarnings() {
        qInstallMessageHandler(FPrevious);
        Current() = nullptr;
    }
    TSvgWarnings(const TSvgWarnings&) = delete;
    TSvgWarnings& operator=(const TSvgWarnings&) = delete;

    const QStringList& Messages() const { return FMessages; }

private:
    static TSvgWarnings*& Current() {
        static TSvgWarnings* current = nullptr;
        return current;
    }
    static void Collect(QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type != QtDebugMsg && Current()) Current()->FMessages.append(message);
    }

    QtMessageHandler FPrevious;
    QStringList FMessages;
};

void CheckFontFamilies(const QString& svg, const QString& name) {
    static const QRegularExpression family(QStringLiteral("font-family\\s*[=:]\\s*\"?'?([^\"';,]+)"));
    const QStringList installed = QFontDatabase::families();
    QRegularExpressionMatchIterator matches = family.globalMatch(svg);
    while (matches.hasNext()) {
        const QString wanted = matches.next().captured(1).trimmed();
        if (!installed.contains(wanted, Qt::CaseInsensitive))
            Fail(QStringLiteral("%1: font family \"%2\" is not installed (Debian package fonts-dejavu-core)")
                         .arg(name, wanted));
    }
}

}  // namespace

QImage RasteriseSvg(const QString& svg, const QSize& size, const QString& name) {
    CheckFontFamilies(svg, name);
    QImage picture(size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    TSvgWarnings warnings;
    QSvgRenderer renderer(svg.toUtf8());
    if (!renderer.isValid()) Fail(QStringLiteral("%1: not a valid SVG document").arg(name));
    {
        QPainter painter(&picture);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                               QPainter::SmoothPixmapTransform);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    if (!warnings.Messages().isEmpty())
        Fail(QStringLiteral("%1: %2").arg(name, warnings.Messages().join(QLatin1String("; "))));
    return picture.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace kestrova::skinrender
