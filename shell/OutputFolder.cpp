#include "shell/OutputFolder.h"

#include "engine/frame/ProgramLayout.h"
#include "filenames/FolderName.h"
#include "platform/Services.h"

#include <QDir>
#include <QFileInfo>

#include <stdexcept>

namespace kestrova {

namespace {

bool FolderExists(const QString& folder) {
    return !folder.isEmpty() && QFileInfo(folder).isDir();
}

}  // namespace

QString DefaultVideoFolder() {
    platform::TUserFolders& folders = platform::Use<platform::TUserFolders>();
    const QString documents = folders.Documents();
    if (documents.isEmpty()) throw std::runtime_error("Could not find MyDocuments folder location.");
    const QString videos = folders.Videos();
    if (!videos.isEmpty()) return WithoutTrailingSeparator(videos);
    // No videos folder named: the conventional one beside the documents folder.
    return QFileInfo(WithoutTrailingSeparator(documents)).absolutePath() + QStringLiteral("/Videos");
}

QString ResolveOutputFolder(const QString& folderText) {
    QString folder = folderText.trimmed();
    if (folder.endsWith(u'/')) folder.chop(1);  // a lone separator thus resolves like an empty folder

    if (!FolderExists(folder)) {
        folder = DefaultVideoFolder();
        if (!FolderExists(folder)) QDir().mkdir(folder);
    }
    // Last, the program's own writable folder (beside a portable program, else the user's).
    if (!FolderExists(folder)) {
        EnsureFolder(UserDataFolder());
        folder = QString::fromStdString(UserDataFolder());
    }

    if (!folder.endsWith(u'/')) folder += u'/';
    return folder;
}

}  // namespace kestrova
