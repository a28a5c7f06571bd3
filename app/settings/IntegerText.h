#pragma once
#include <QString>

#include <optional>

namespace kestrova {

// A decimal integer with an optional sign and surrounding blanks, or 0x hexadecimal;
// nothing when the text is not one or does not fit in 32 bits.
std::optional<int> ParseInteger(const QString& text);

// The integer in a text the user typed. Throws std::runtime_error
// "'<text>' is not a valid integer value" when there is none.
int IntegerOfText(const QString& text);

}  // namespace kestrova
