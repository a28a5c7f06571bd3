#include "shell/TimeText.h"

namespace kestrova {

namespace {

QString TwoDigits(qint64 value) {
    return QStringLiteral("%1").arg(value, 2, 10, QChar(u'0'));
}

}  // namespace

QString TimeText(qint64 seconds, const QString& separator) {
    if (seconds < 0) seconds = 0;
    return TwoDigits(seconds / 3600) + separator + TwoDigits(seconds % 3600 / 60) + separator +
           TwoDigits(seconds % 60);
}

}  // namespace kestrova
