#include "tools/cli/ProfileCatalog.h"

#include "profiles/store/IndexDocument.h"
#include "profiles/store/ProfileDocument.h"
#include "profiles/store/XmlFile.h"

#include <QFileInfo>

#include <utility>

namespace kestrova::cli {

namespace {

// The user profiles as userdefined.xml lists them; the file is only read, never created.
std::vector<TProfileEntry> UserProfiles(const TStorePaths& paths) {
    TXmlFile index = ReadXmlFile(paths.UserIndexFile());
    if (index.State != TXmlFileState::Loaded) return {};
    return TIndexDocument(index.Document).Entries();
}

bool NamesProfile(const TProfileEntry& entry, const QString& text) {
    const auto same = [&text](const QString& name) { return name.compare(text, Qt::CaseInsensitive) == 0; };
    const QString fileName = QFileInfo(QString(entry.ProfileFile).replace(u'\\', u'/')).fileName();
    return same(entry.ProfileFile) || same(fileName) || same(QFileInfo(fileName).completeBaseName()) ||
           same(entry.ProfileName) || same(ProfileNameStem(entry.ProfileName).trimmed());
}

}  // namespace

TProfileCatalog::TProfileCatalog(TStorePaths paths) : FPaths(std::move(paths)) {
    for (TProfileGroup& group : BuiltInGroupList().Groups)
        if (!group.Profiles.empty()) FGroups.push_back(std::move(group));
    std::vector<TProfileEntry> user = UserProfiles(FPaths);
    if (!user.empty()) FGroups.push_back(TProfileGroup{kUserDefinedGroup, QString(), std::move(user)});
}

std::optional<QString> TProfileCatalog::FindProfileFile(const QString& text) const {
    if (QFileInfo(text).isFile()) return text;
    for (const TProfileGroup& group : FGroups)
        for (const TProfileEntry& entry : group.Profiles)
            if (NamesProfile(entry, text)) return FPaths.ProfilePath(entry.ProfileFile);
    return std::nullopt;
}

QString TProfileCatalog::ListingText() const {
    QString text;
    for (const TProfileGroup& group : FGroups) {
        text += group.GroupName + u'\n';
        for (const TProfileEntry& entry : group.Profiles) {
            text += QStringLiteral("  %1  %2").arg(entry.ProfileFile, -28).arg(entry.ProfileName);
            TProfileDocument document;
            QString error;
            if (!document.Load(FPaths.ProfilePath(entry.ProfileFile), &error))
                text += QStringLiteral("  [cannot be used: %1]").arg(error);
            text += u'\n';
        }
    }
    return text;
}

}  // namespace kestrova::cli
