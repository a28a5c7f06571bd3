#pragma once
// Colours of the overlays and how they become the samples of a picture.
#include "data/vhook/common/PixelLayout.h"

#include <array>
#include <cstdint>

namespace kestrova::vhook {

struct TRgb {
    uint8_t Red = 0, Green = 0, Blue = 0;
    friend bool operator==(const TRgb&, const TRgb&) = default;
};

// The luma weights of a picture's colour matrix.
struct TColourMatrix {
    double Kr = 0.299, Kb = 0.114;
    friend bool operator==(const TColourMatrix&, const TColourMatrix&) = default;
};

inline constexpr TColourMatrix kBt601{0.299, 0.114};
inline constexpr TColourMatrix kBt709{0.2126, 0.0722};

// The hook is not told the picture's colour matrix: high-definition sizes are taken as BT.709,
// everything smaller as BT.601, as players do.
TColourMatrix MatrixForSize(int width, int height);

// The three samples of an RGB colour in the layout's own terms: Y, Cb, Cr for YUV and gray
// layouts (at the layout's depth and range), R, G, B for packed RGB.
std::array<int, 3> ColourSamples(TRgb colour, const TPixelLayout& layout, TColourMatrix matrix);

// Brightness of a colour on the 0..255 scale (its full-range luma).
double Lightness(TRgb colour, TColourMatrix matrix);

// The span of the luma samples: 219 steps of 255 in limited range, all of it in full range
// (scaled to the layout's depth), used to turn a lightness offset into samples.
double LumaSpan(const TPixelLayout& layout);

}  // namespace kestrova::vhook
