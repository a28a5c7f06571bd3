#pragma once
// How option texts are read as numbers.
#include <QStringView>

#include <cstdint>
#include <optional>

namespace kestrova {

// Leading blanks skipped, an optional sign, then the decimal digits up to the first other
// character; 0 without digits ("Auto" gives 0, "128k" gives 128). Saturates at the 32-bit range.
int32_t IntegerValue(QStringView text);

// True when the text holds at least one digit where IntegerValue reads its number, so that a
// real 0 can be told from a word.
bool HasIntegerValue(QStringView text);

// The whole text as a 32-bit decimal integer (blanks around it allowed); nullopt otherwise.
std::optional<int32_t> WholeInteger(QStringView text);

// The whole text as a finite decimal number (blanks around it allowed, "96.5" too); nullopt
// otherwise.
std::optional<double> WholeDecimal(QStringView text);

}  // namespace kestrova
