#pragma once
#include <QString>
#include <QStringList>

namespace kestrova {

// Splits a profile value list at every separator without trimming: "a,,b" gives "a", "", "b"
// and an empty text gives one empty item, so a list always offers at least one entry.
QStringList SplitValues(const QString& text, QChar separator = u',');

}  // namespace kestrova
