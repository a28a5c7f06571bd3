#pragma once
#include <QString>
#include <QtGlobal>

namespace kestrova {

// A duration in whole seconds as hours, minutes and seconds, each with at least two digits,
// joined by the separator: 3725 gives "01:02:05", 360000 gives "100:00:00". A negative
// duration (no value known) reads as zero.
QString TimeText(qint64 seconds, const QString& separator = QStringLiteral(":"));

}  // namespace kestrova
