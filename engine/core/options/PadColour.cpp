#include "engine/core/options/PadColour.h"

#include <cmath>

namespace kestrova {

namespace {

// Fixed-point coefficient with 10 fractional bits: round(c * 1024 + 0.5), ties to even, so that
// 0.5 gives exactly 512.
int Fixed(double c) {
    return static_cast<int>(std::nearbyint(c * 1024 + 0.5));
}

}  // namespace

TYuvColour RgbToPadYuv(uint32_t rgb) {
    const int r = static_cast<int>(rgb & 0xFF);
    const int g = static_cast<int>((rgb >> 8) & 0xFF);
    const int b = static_cast<int>((rgb >> 16) & 0xFF);
    // Arithmetic right shifts keep the sign of the chroma sums.
    const int y = (Fixed(0.299) * r + Fixed(0.587) * g + Fixed(0.114) * b + 512) >> 10;
    const int u = ((-Fixed(0.16874) * r - Fixed(0.33126) * g + Fixed(0.5) * b + 511) >> 10) + 128;
    const int v = ((Fixed(0.5) * r - Fixed(0.41869) * g - Fixed(0.08131) * b + 511) >> 10) + 128;
    return {y, u, v};
}

}  // namespace kestrova
