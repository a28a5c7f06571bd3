#include "profiles/store/XmlFile.h"

#include <QDomProcessingInstruction>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringEncoder>
#include <QXmlStreamReader>

#include <optional>

namespace kestrova {

namespace {

constexpr int kIndent = 2;
// Far beyond any profile or list the store writes (a profile is a few kilobytes and three
// levels deep), and small enough that a damaged or hostile file is refused at once instead of
// holding the program while the parser builds it.
constexpr qint64 kMaxFileBytes = 256 * 1024;
constexpr int kMaxDepth = 32;
const QString kUtf8Declaration = QStringLiteral("version=\"1.0\" encoding=\"utf-8\"");

QDomProcessingInstruction Declaration(const QDomDocument& document) {
    const QDomNode first = document.firstChild();
    if (first.isProcessingInstruction() && first.nodeName() == QLatin1String("xml"))
        return first.toProcessingInstruction();
    return {};
}

QString DeclaredEncoding(const QDomProcessingInstruction& declaration) {
    static const QRegularExpression encoding(QStringLiteral(R"(encoding\s*=\s*["']([^"']*)["'])"));
    const QRegularExpressionMatch match = encoding.match(declaration.data());
    return match.hasMatch() ? match.captured(1) : QString();
}

// The document as text, its declaration written in the usual double-quoted form (the parser
// hands back its values in single quotes; a declaration's values never hold quotes).
QString DocumentText(const QDomDocument& document) {
    QString text = document.toString(kIndent);
    if (!Declaration(document).isNull() && text.startsWith(QLatin1String("<?xml"))) {
        const qsizetype end = text.indexOf(QLatin1String("?>"));
        for (qsizetype i = 0; i < end; ++i)
            if (text[i] == u'\'') text[i] = u'"';
    }
    return text;
}

// The document's text in its declared encoding; std::nullopt when that encoding cannot
// carry it (unknown to the converter, or a character it cannot represent).
std::optional<QByteArray> EncodeAsDeclared(const QDomDocument& document) {
    const QString name = DeclaredEncoding(Declaration(document));
    QStringEncoder encoder = name.isEmpty() ? QStringEncoder(QStringEncoder::Utf8)
                                            : QStringEncoder(name.toLatin1().constData());
    if (!encoder.isValid()) return std::nullopt;
    QByteArray bytes = encoder.encode(DocumentText(document));
    if (encoder.hasError()) return std::nullopt;
    return bytes;
}

// Whether the elements nest deeper than kMaxDepth; the stream reader needs no tree for it.
bool NestsTooDeep(const QByteArray& bytes) {
    QXmlStreamReader reader(bytes);
    int depth = 0;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::StartElement && ++depth > kMaxDepth) return true;
        if (token == QXmlStreamReader::EndElement) --depth;
    }
    return false;
}

}  // namespace

TXmlFile ReadXmlFile(const QString& path) {
    TXmlFile result;
    QFile file(path);
    if (!QFileInfo::exists(path)) {
        result.State = TXmlFileState::Missing;
        return result;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        result.State = TXmlFileState::Broken;
        result.Error = QStringLiteral("Cannot read \"%1\": %2").arg(path, file.errorString());
        return result;
    }
    if (file.size() > kMaxFileBytes) {
        result.State = TXmlFileState::Broken;
        result.Error = QStringLiteral("\"%1\" is too large to be a profile store file (%2 bytes, at most %3)")
                               .arg(path)
                               .arg(file.size())
                               .arg(kMaxFileBytes);
        return result;
    }
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (bytes.size() > kMaxFileBytes) {
        result.State = TXmlFileState::Broken;
        result.Error = QStringLiteral("\"%1\" is too large to be a profile store file (at most %2 bytes)")
                               .arg(path)
                               .arg(kMaxFileBytes);
        return result;
    }
    if (bytes.trimmed().isEmpty()) {
        result.State = TXmlFileState::Empty;
        return result;
    }
    if (NestsTooDeep(bytes)) {
        result.State = TXmlFileState::Broken;
        result.Error =
                QStringLiteral("\"%1\" nests its elements deeper than %2 levels: not a profile store file")
                        .arg(path)
                        .arg(kMaxDepth);
        return result;
    }
    QString parseError;
    int line = 0;
    int column = 0;
    if (!result.Document.setContent(bytes, &parseError, &line, &column)) {
        result.State = TXmlFileState::Broken;
        result.Error = QStringLiteral("\"%1\" is not a valid XML document: %2 (line %3, column %4)")
                               .arg(path, parseError)
                               .arg(line)
                               .arg(column);
        result.Document = QDomDocument();
        return result;
    }
    result.State = TXmlFileState::Loaded;
    return result;
}

QDomDocument NewXmlDocument(const QString& rootName) {
    QDomDocument document;
    document.appendChild(document.createProcessingInstruction(QStringLiteral("xml"), kUtf8Declaration));
    document.appendChild(document.createElement(rootName));
    return document;
}

bool WriteXmlFile(QDomDocument& document, const QString& path, QString* error) {
    std::optional<QByteArray> bytes = EncodeAsDeclared(document);
    if (!bytes) {
        // Writing the declared encoding would corrupt the text: write UTF-8 and say so.
        QDomProcessingInstruction declaration = Declaration(document);
        if (declaration.isNull())
            document.insertBefore(
                    document.createProcessingInstruction(QStringLiteral("xml"), kUtf8Declaration),
                    document.firstChild());
        else
            declaration.setData(kUtf8Declaration);
        bytes = DocumentText(document).toUtf8();
    }
    return WriteFileBytes(path, *bytes, error);
}

bool WriteFileBytes(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    const bool written =
            file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    if (!written && error) *error = QStringLiteral("Cannot write \"%1\": %2").arg(path, file.errorString());
    return written;
}

}  // namespace kestrova
