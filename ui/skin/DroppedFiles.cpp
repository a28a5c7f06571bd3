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

}  // namespace kestrova
