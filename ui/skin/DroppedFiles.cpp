#include "ui/skin/DroppedFiles.h"

#include <QMimeData>
#include <QUrl>

namespace kestrova {

QString FirstDroppedLocalFile(const QMimeData& data) {
    if (!data.hasUrls()) return {};
    for (const QUrl& url : data.urls()) {
        if (url.isLocalFile() && !url.toLocalFile().isEmpty()) return url.toLocalFile();
    }
    return {};
}

QStringList DroppedLocalFiles(const QMimeData& data) {
    QStringList files;
    if (!data.hasUrls()) return files;
    for (const QUrl& url : data.urls())
        if (url.isLocalFile() && !url.toLocalFile().isEmpty()) files << url.toLocalFile();
    return files;
}

}  // namespace kestrova
