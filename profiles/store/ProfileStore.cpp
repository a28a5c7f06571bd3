#include "profiles/store/ProfileStore.h"

#include "profiles/store/IndexFiles.h"
#include "profiles/store/TypedFileName.h"
#include "profiles/store/UniqueFileName.h"
#include "profiles/store/XmlFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kestrova {

namespace {

constexpr int kRecentLimit = 10;
constexpr QLatin1String kUserFolderName{"userdefined"};

// Only user profiles may be renamed or deleted; a built-in file must never be touched.
bool IsUserProfileFile(const QString& profileFile) {
    return profileFile.contains(kUserFolderName);
}

// The proposal shown in the input box: the file-name part of a path without its extension.
QString ProposalOf(const QString& uniquePath) {
    return QFileInfo(uniquePath).completeBaseName();
}

// The name the picker lists for a user profile file the user named: what was typed, without the
// ".xml" the file name got, followed by the output pattern of the profile it came from.
QString DisplayNameOf(const QString& fileName, const QString& fromProfileName) {
    return QFileInfo(fileName).completeBaseName() + ProfileNameTail(fromProfileName);
}

QByteArray ReadFileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TStoreResult Failure(const QString& error, bool changed = false) {
    return TStoreResult{changed, error};
}

}  // namespace

TProfileStore::TProfileStore(const QString& programFolder, TAskText askText, TProfileEntry& current)
    : TProfileStore(TStorePaths(programFolder), std::move(askText), current) {}

TProfileStore::TProfileStore(TStorePaths paths, TAskText askText, TProfileEntry& current)
    : FPaths(std::move(paths)), FAskText(std::move(askText)), FCurrent(current) {}

void TProfileStore::SetOnListsChanged(std::function<void()> onListsChanged) {
    FOnListsChanged = std::move(onListsChanged);
}

void TProfileStore::ListsChanged() const {
    if (FOnListsChanged) FOnListsChanged();
}

bool TProfileStore::IsBuiltInProfile(const QString& profilePath) const {
    const QString belowData = profilePath.startsWith(FPaths.DataFolder())
                                      ? profilePath.mid(FPaths.DataFolder().size())
                                      : profilePath;
    return !belowData.contains(kUserFolderName);
}

bool TProfileStore::EnsureUserFolder(QString& error) const {
    if (QDir().mkpath(FPaths.UserFolder())) return true;
    error = QStringLiteral("Cannot create the folder \"%1\".").arg(FPaths.UserFolder());
    return false;
}

std::optional<QString> TProfileStore::AskFileName(const QString& caption, const QString& prompt,
                                                  const QString& proposal, QString& error) const {
    if (!FAskText) return std::nullopt;
    return ProfileFileNameFromTyped(FAskText(caption, prompt, proposal), error);
}

TStoreResult TProfileStore::AddRecentProfile() {
    if (FCurrent.ProfileName.isEmpty()) return {};
    QString error;
    TIndexDocument recent = LoadRecentProfiles(FPaths, &error);
    if (recent.ContainsName(FCurrent.ProfileName)) return {};
    recent.Append(FCurrent);
    recent.KeepNewest(kRecentLimit);
    if (!WriteXmlFile(recent.Document(), FPaths.RecentFile(), &error)) return Failure(error);
    ListsChanged();
    return TStoreResult{true, {}};
}

TStoreResult TProfileStore::SaveProfileAs(TProfileDocument& loaded, const TSelectedValues& values) {
    if (FCurrent.ProfileName.isEmpty()) return {};
    if (!loaded.IsLoaded())
        return Failure(QStringLiteral("No profile is loaded, so there is nothing to save."));
    QString error;
    if (!EnsureUserFolder(error)) return Failure(error);
    std::optional<TIndexDocument> index = LoadUserProfiles(FPaths, &error);
    if (!index) return Failure(error);

    const QString stem = FileNameFromStem(ProfileNameStem(FCurrent.ProfileName));
    const QString proposal =
            ProposalOf(MakeUniqueFileName(FPaths.UserFolder() + stem, QStringLiteral(".xml")));
    const std::optional<QString> fileName =
            AskFileName(QStringLiteral("Profile SaveAs"),
                        QStringLiteral("Please input a file name for new profile:"), proposal, error);
    if (!fileName) return Failure(error);

    const QString target = FPaths.UserFolder() + *fileName;
    const bool replacesFile = QFileInfo::exists(target);
    loaded.SetSelectedValues(values);
    if (!loaded.Save(target, &error)) return Failure(error);

    const TProfileEntry entry{DisplayNameOf(*fileName, FCurrent.ProfileName), FCurrent.DescribeName,
                              FCurrent.ProfileImage, UserProfileFile(*fileName)};
    // Saving over a listed file updates its entry rather than listing the file twice.
    QDomElement listed = index->FindFile(entry.ProfileFile);
    if (listed.isNull())
        index->Append(entry);
    else
        WriteProfileEntry(listed, entry);
    if (!WriteXmlFile(index->Document(), FPaths.UserIndexFile(), &error)) {
        if (!replacesFile) QFile::remove(target);
        return Failure(error, replacesFile);
    }
    ListsChanged();
    return TStoreResult{true, {}};
}

TStoreResult TProfileStore::RenameUserProfile() {
    const QString oldFile = FCurrent.ProfileFile;
    if (oldFile.isEmpty() || !IsUserProfileFile(oldFile)) return {};
    QString error;
    if (!EnsureUserFolder(error)) return Failure(error);

    // A file value holding "(" is cut there for the proposal, as a display name would be.
    const QString proposalSource = FPaths.ProfilePath(ProfileNameStem(oldFile));
    const QString proposal = ProposalOf(MakeUniqueFileName(proposalSource));
    const std::optional<QString> fileName =
            AskFileName(QStringLiteral("Profile ReName"),
                        QStringLiteral("Please input a New file name for profile:"), proposal, error);
    if (!fileName) return Failure(error);
    const QString newFile = UserProfileFile(*fileName);
    if (newFile == oldFile) return {};

    std::optional<TIndexDocument> index = LoadUserProfiles(FPaths, &error);
    if (!index) return Failure(error);
    TIndexDocument recent = LoadRecentProfiles(FPaths);
    const QByteArray indexBefore = ReadFileBytes(FPaths.UserIndexFile());

    // The file moves first: should that fail, no index entry names a file that does not exist.
    const QString source = FPaths.ProfilePath(oldFile);
    const QString target = FPaths.UserFolder() + *fileName;
    if (QFileInfo::exists(target))
        return Failure(QStringLiteral("Cannot rename the profile: \"%1\" already exists.").arg(target));
    QFile sourceFile(source);
    if (!sourceFile.rename(target))
        return Failure(QStringLiteral("Cannot rename \"%1\" to \"%2\": %3")
                               .arg(source, target, sourceFile.errorString()));

    // The profile goes by its new name wherever it is listed.
    const QString newName = DisplayNameOf(*fileName, FCurrent.ProfileName);
    QDomElement listed = index->FindFile(oldFile);
    QDomElement recentEntry = recent.FindFile(oldFile);
    for (QDomElement* entry : {&listed, &recentEntry}) {
        if (entry->isNull()) continue;
        entry->setAttribute(kProfileFileAttribute, newFile);
        entry->setAttribute(kProfileNameAttribute, newName);
    }

    const bool indexSaved =
            listed.isNull() || WriteXmlFile(index->Document(), FPaths.UserIndexFile(), &error);
    const bool recentSaved = indexSaved && (recentEntry.isNull() ||
                                            WriteXmlFile(recent.Document(), FPaths.RecentFile(), &error));
    if (!recentSaved) {
        // Put everything back as it was, so that the entries and the file agree again.
        if (indexSaved && !listed.isNull()) WriteFileBytes(FPaths.UserIndexFile(), indexBefore);
        QFile::rename(target, source);
        return Failure(error);
    }
    FCurrent.ProfileFile = newFile;
    FCurrent.ProfileName = newName;
    ListsChanged();
    return TStoreResult{true, {}};
}

TStoreResult TProfileStore::DeleteUserProfile() {
    const QString file = FCurrent.ProfileFile;
    if (!IsUserProfileFile(file) || !QFileInfo(FPaths.ProfilePath(file)).isFile()) return {};
    QString error;
    std::optional<TIndexDocument> index = LoadUserProfiles(FPaths, &error);
    if (!index) return Failure(error);
    QFile profile(FPaths.ProfilePath(file));
    if (!profile.remove())
        return Failure(
                QStringLiteral("Cannot delete \"%1\": %2").arg(profile.fileName(), profile.errorString()));

    QStringList errors;
    if (index->RemoveFile(file) && !WriteXmlFile(index->Document(), FPaths.UserIndexFile(), &error))
        errors.append(error);
    TIndexDocument recent = LoadRecentProfiles(FPaths);
    if (recent.RemoveFile(file) && !WriteXmlFile(recent.Document(), FPaths.RecentFile(), &error))
        errors.append(error);
    ListsChanged();
    return TStoreResult{true, errors.join(u'\n')};
}

}  // namespace kestrova
