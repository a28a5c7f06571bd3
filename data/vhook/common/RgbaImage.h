#pragma once
// The pictures and text masks the modules draw, before they are fitted to a video picture.
#include "data/vhook/common/Colour.h"

#include <cstdint>
#include <vector>

namespace kestrova::vhook {

// Rows from the top, four bytes a pixel: red, green, blue and a straight (not premultiplied)
// alpha.
struct TRgbaImage {
    int Width = 0, Height = 0;
    std::vector<uint8_t> Pixels;

    const uint8_t* Pixel(int x, int y) const {
        return Pixels.data() + (static_cast<size_t>(y) * Width + x) * 4;
    }
};

// Coverage of a drawn text, one byte a pixel, rows from the top.
struct TAlphaMask {
    int Width = 0, Height = 0;
    std::vector<uint8_t> Coverage;
};

// Makes every pixel of exactly the key colour transparent (pictures made for a colour key).
void ApplyColourKey(TRgbaImage& image, TRgb key);

}  // namespace kestrova::vhook
