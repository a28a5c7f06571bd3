#include "platform/ExecutablePath.h"

#include <QFileInfo>

namespace kestrova::platform {

QString RunningExecutablePath()
{
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

} // namespace kestrova::platform
