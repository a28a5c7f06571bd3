#pragma once
#include <QString>

namespace kestrova {

// The file name proposed by Save As and Rename: the first free "base-N.ext". Save As passes
// ".xml" and a stem; Rename passes the existing file and counts on from its "-N".
QString MakeUniqueFileName(const QString& path, const QString& extension = QString());

}  // namespace kestrova
