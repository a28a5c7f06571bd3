#pragma once
#include <QString>

namespace kestrova::platform {

// The full path of the running executable, read from the kernel, so that it is known before
// (and without) an application object.
QString RunningExecutablePath();

} // namespace kestrova::platform
