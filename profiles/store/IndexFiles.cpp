#include "profiles/store/IndexFiles.h"

#include "profiles/store/XmlFile.h"

namespace kestrova {

namespace {

const QByteArray kEmptyIndex =
        QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<main></main>\n");

TIndexDocument CreateEmptyIndex(const QString& path, QString* error) {
    WriteFileBytes(path, kEmptyIndex, error);
    QDomDocument document;
    document.setContent(kEmptyIndex);
    return TIndexDocument(document);
}

}  // namespace

TIndexDocument LoadRecentProfiles(const TStorePaths& paths, QString* error) {
    TXmlFile file = ReadXmlFile(paths.RecentFile());
    if (file.State == TXmlFileState::Loaded) return TIndexDocument(file.Document);
    return CreateEmptyIndex(paths.RecentFile(), error);
}

std::optional<TIndexDocument> LoadUserProfiles(const TStorePaths& paths, QString* error) {
    TXmlFile file = ReadXmlFile(paths.UserIndexFile());
    switch (file.State) {
        case TXmlFileState::Loaded:
            return TIndexDocument(file.Document);
        case TXmlFileState::Broken:
            if (error) *error = file.Error;
            return std::nullopt;
        case TXmlFileState::Missing:
        case TXmlFileState::Empty:
            break;
    }
    return CreateEmptyIndex(paths.UserIndexFile(), error);
}

}  // namespace kestrova
