#pragma once
#include <QByteArray>
#include <QDomDocument>
#include <QString>

namespace kestrova {

// How reading a store document went.
enum class TXmlFileState {
    Loaded,   // parsed; Document holds it
    Missing,  // no file at the path
    Empty,    // the file holds nothing but blanks
    Broken,   // unreadable or not well-formed XML; Error says why
};

struct TXmlFile {
    TXmlFileState State = TXmlFileState::Missing;
    QDomDocument Document;
    QString Error;
};

// A file over 256 KB or with elements nested deeper than 32 levels is Broken without being
// parsed.
TXmlFile ReadXmlFile(const QString& path);

// A document made from scratch: the UTF-8 declaration and an empty root element.
QDomDocument NewXmlDocument(const QString& rootName);

// Writes the document in the encoding its own declaration names (UTF-8 when it has none or
// names one this system cannot write, the declaration then saying so). The file is replaced
// only once the whole text is written, so a failed save leaves the old file intact.
bool WriteXmlFile(QDomDocument& document, const QString& path, QString* error = nullptr);

// Replaces the file with the given bytes, all or nothing.
bool WriteFileBytes(const QString& path, const QByteArray& bytes, QString* error = nullptr);

}  // namespace kestrova
