#pragma once
#include <QString>

namespace kestrova {

// The program's version as shown in the title: the first three characters of the version
// built in ("3.0" for 3.0.0.0).
QString VersionText();

}  // namespace kestrova
