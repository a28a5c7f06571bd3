#pragma once
#include <QString>
#include <QStringList>

#include <optional>

namespace kestrova {

// A Windows-style INI document ("[section]" headers and key=value lines) that is edited in
// place: changing a key rewrites only that key's line, new keys join the end of their section
// and new sections the end of the file, and every other line (other sections and keys,
// comments, blank lines, their order) is kept as it was.
// Reading follows the private-profile rules: section and key names compare without regard to
// case and surrounding blanks, the first occurrence counts, values are trimmed and lose one
// pair of matching surrounding quotes, and a missing section or key gives the default.
class TIniFile {
public:
    TIniFile() = default;

    // Reads the file; a missing or unreadable file gives an empty document.
    static TIniFile Load(const QString& path);
    static TIniFile FromText(const QString& text);

    std::optional<QString> Value(const QString& section, const QString& key) const;
    QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;
    // The value as a decimal (or 0x hexadecimal) integer; the default when missing or not a number.
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;

    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);

    QString Text() const;
    // Writes the document to the file, flushed to disk; the old file stays whole when this
    // fails. False on failure.
    bool Save(const QString& path) const;

private:
    struct TLocation {
        qsizetype SectionLine = -1;    // the header line, -1 when the section is missing
        qsizetype KeyLine = -1;        // the key's line, -1 when missing
        qsizetype LastEntryLine = -1;  // the section's last key line (or its header)
    };
    TLocation Find(const QString& section, const QString& key) const;

    QStringList FLines;
    QString FLineBreak = QStringLiteral("\n");
    bool FByteOrderMark = false;
};

}  // namespace kestrova
