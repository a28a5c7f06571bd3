#pragma once
// The pad colour arrives as an RGB colour (red in bits 0-7, green 8-15, blue 16-23) and is
// kept as the Y, U, V values the padding fills in.
#include <array>
#include <cstdint>

namespace kestrova {

using TYuvColour = std::array<int, 3>;  // Y, U, V

TYuvColour RgbToPadYuv(uint32_t rgb);

}  // namespace kestrova
