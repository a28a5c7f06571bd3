#include "app/shell/ProgramFolder.h"

#include "platform/ExecutablePath.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace kestrova {

QString ProgramFolder()
{
    // Works before a QCoreApplication exists too (tests, early start-up).
    QString folder = QCoreApplication::instance()
        ? QCoreApplication::applicationDirPath()
        : QFileInfo(platform::RunningExecutablePath()).absolutePath();
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

} // namespace kestrova
