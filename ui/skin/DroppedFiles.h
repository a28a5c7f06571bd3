#pragma once
#include <QString>
#include <QStringList>

class QMimeData;

namespace kestrova {

// The first local file (or folder) among dropped data's URLs (text/uri-list as file managers
// send it); URLs of other schemes are passed over. Empty when there is none.
QString FirstDroppedLocalFile(const QMimeData& data);
// Every local file and folder among them, in their order.
QStringList DroppedLocalFiles(const QMimeData& data);

}  // namespace kestrova
