#include "app/shell/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace kestrova {

QString ProgramFolder()
{
    // Works before a QCoreApplication exists too (tests, early start-up).
    QString folder = QCoreApplication::instance()
        ? QCoreApplication::applicationDirPath()
        : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(u'/', 0, -2);
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

} // namespace kestrova
