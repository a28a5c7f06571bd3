#include "platform/XdgUserFolders.h"

#include <QDir>
#include <QStandardPaths>

namespace kestrova::platform {

namespace {

QString Location(QStandardPaths::StandardLocation location) {
    const QString path = QStandardPaths::writableLocation(location);
    return path.isEmpty() ? path : QDir::cleanPath(path);
}

}  // namespace

QString TXdgUserFolders::Documents() {
    return Location(QStandardPaths::DocumentsLocation);
}

QString TXdgUserFolders::Videos() {
    // The toolkit's "movies" location is the XDG videos folder.
    return Location(QStandardPaths::MoviesLocation);
}

}  // namespace kestrova::platform
