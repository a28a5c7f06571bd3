#pragma once
// Quantiser matrices given as option text: 64 integers separated by commas.
#include <array>
#include <cstdint>
#include <string>

namespace kestrova {

using TQuantMatrix = std::array<uint16_t, 64>;

// Raises FFmpegException "Syntax error in matrix \"%s\" at coeff %d" when the text holds fewer
// than 64 numbers (or a coefficient that is not a 16-bit number); the index is that of the
// coefficient where reading stopped. Numbers after the 64th are ignored.
TQuantMatrix ParseQuantMatrix(const std::string& text);

}  // namespace kestrova
