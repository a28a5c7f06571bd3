#include "shell/FolderAccess.h"

#include "filenames/FolderName.h"

#include <QFileInfo>
#include <QTemporaryFile>

namespace kestrova {

bool CanWriteToFolder(const QString& folder) {
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) return false;
    QTemporaryFile probe(WithoutTrailingSeparator(folder) + QStringLiteral("/.kestrova-write-XXXXXX"));
    return probe.open();  // removed again when it goes
}

QString CannotWriteToFolderText(const QString& folder) {
    return QStringLiteral("Cannot write to the folder %1.").arg(WithoutTrailingSeparator(folder));
}

}  // namespace kestrova
