#include "app/settings/IniFile.h"

#include "app/settings/IntegerText.h"

#include <QFile>
#include <QSaveFile>

namespace kestrova {

namespace {

constexpr QChar kByteOrderMark(0xFEFF);

bool IsSectionHeader(const QString& trimmedLine) {
    return trimmedLine.startsWith(u'[') && trimmedLine.contains(u']');
}

QString SectionName(const QString& trimmedLine) {
    return trimmedLine.mid(1, trimmedLine.indexOf(u']') - 1).trimmed();
}

bool IsComment(const QString& trimmedLine) {
    return trimmedLine.startsWith(u';');
}

// The key of a key=value line, or nothing for other lines.
std::optional<QString> KeyOf(const QString& trimmedLine) {
    const qsizetype equals = trimmedLine.indexOf(u'=');
    if (equals <= 0 || IsComment(trimmedLine)) return std::nullopt;
    return trimmedLine.left(equals).trimmed();
}

bool SameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString Unquoted(const QString& value) {
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

// Quotes a value that reading would otherwise change (surrounding blanks or quotes); line
// breaks cannot live inside one line and become blanks.
QString StorableValue(QString value) {
    value.replace(u'\r', u' ').replace(u'\n', u' ');
    const bool needsQuotes = value != value.trimmed() || Unquoted(value) != value;
    return needsQuotes ? u'"' + value + u'"' : value;
}

}  // namespace

TIniFile TIniFile::Load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return FromText(QString::fromUtf8(file.readAll()));
}

TIniFile TIniFile::FromText(const QString& text) {
    TIniFile ini;
    QString body = text;
    if (body.startsWith(kByteOrderMark)) {
        ini.FByteOrderMark = true;
        body.remove(0, 1);
    }
    if (body.contains(QStringLiteral("\r\n"))) ini.FLineBreak = QStringLiteral("\r\n");
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (body.endsWith(u'\n')) body.chop(1);
    if (!body.isEmpty()) ini.FLines = body.split(u'\n');
    return ini;
}

TIniFile::TLocation TIniFile::Find(const QString& section, const QString& key) const {
    TLocation found;
    bool inSection = false;
    for (qsizetype i = 0; i < FLines.size(); ++i) {
        const QString line = FLines[i].trimmed();
        if (IsSectionHeader(line)) {
            if (inSection) break;  // only the first section of that name counts
            inSection = SameName(SectionName(line), section.trimmed());
            if (inSection) found.SectionLine = found.LastEntryLine = i;
            continue;
        }
        if (!inSection) continue;
        const std::optional<QString> lineKey = KeyOf(line);
        if (!lineKey) continue;
        found.LastEntryLine = i;
        if (found.KeyLine < 0 && SameName(*lineKey, key.trimmed())) found.KeyLine = i;
    }
    return found;
}

std::optional<QString> TIniFile::Value(const QString& section, const QString& key) const {
    const TLocation found = Find(section, key);
    if (found.KeyLine < 0) return std::nullopt;
    const QString& line = FLines[found.KeyLine];
    return Unquoted(line.mid(line.indexOf(u'=') + 1).trimmed());
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) const {
    return Value(section, key).value_or(defaultValue);
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const {
    const std::optional<QString> text = Value(section, key);
    if (!text) return defaultValue;
    return ParseInteger(*text).value_or(defaultValue);
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    const QString entry = key.trimmed() + u'=' + StorableValue(value);
    const TLocation found = Find(section, key);
    if (found.KeyLine >= 0)
        FLines[found.KeyLine] = entry;
    else if (found.SectionLine >= 0)
        FLines.insert(found.LastEntryLine + 1, entry);
    else
        FLines << u'[' + section.trimmed() + u']' << entry;
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value) {
    WriteString(section, key, QString::number(value));
}

QString TIniFile::Text() const {
    QString text = FByteOrderMark ? QString(kByteOrderMark) : QString();
    for (const QString& line : FLines) text += line + FLineBreak;
    return text;
}

bool TIniFile::Save(const QString& path) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    const QByteArray bytes = Text().toUtf8();
    return file.write(bytes) == bytes.size() && file.commit();
}

}  // namespace kestrova
