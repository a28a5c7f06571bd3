#pragma once
// Folder names as the windows show and keep them.
#include <QString>

namespace kestrova {

// `folder` without its trailing separators; the root folder "/" stays as it is.
QString WithoutTrailingSeparator(QString folder);

}  // namespace kestrova
