#pragma once
#include <QString>

namespace kestrova {

// Whether a new file can be made in the folder. It is tried rather than read from the
// permission bits, so that read-only mounts, full disks and folders gone since they were
// chosen count as well.
bool CanWriteToFolder(const QString& folder);

// "Cannot write to the folder <folder>." (the folder without its trailing separator).
QString CannotWriteToFolderText(const QString& folder);

}  // namespace kestrova
