#pragma once
#include <QString>

#include <optional>

namespace kestrova {

// The file name for a user profile from what the user typed: blanks trimmed, ".xml" appended
// unless the name already ends in it (in any letter case). std::nullopt with the reason in
// `error` when the text names no plain file (empty, or holding a folder separator that would
// put the profile outside the user profile folder); `error` stays empty for an empty text.
std::optional<QString> ProfileFileNameFromTyped(const QString& typed, QString& error);

// The display-name stem as a file name: folder separators, which a name may hold but a file
// name may not, become "_".
QString FileNameFromStem(const QString& stem);

}  // namespace kestrova
