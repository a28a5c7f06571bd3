#pragma once
// A 24-bit picture for display: blue, green, red bytes, rows top-down, each row padded to a
// multiple of 4 bytes. The converter scales nothing: it turns a decoded picture of any pixel
// format into this layout, reusing its scaler and the bitmap's memory while sizes stay.
#include "LibPtr.h"

#include <cstdint>
#include <vector>

namespace kestrova {

struct TProbeBitmap {
    int Width = 0;
    int Height = 0;
    int Stride = 0;  // bytes per row
    std::vector<uint8_t> Pixels;

    // Sizes the bitmap; the memory only grows.
    void SetSize(int width, int height);
    void FillBlack();
};

class TPictureToBitmap {
public:
    // False when the picture cannot be converted (the bitmap then has the picture's size, black).
    bool Convert(const AVFrame& picture, TProbeBitmap& bitmap);
    void Release() { FScaler.reset(); }

private:
    ScalerPtr FScaler;
};

} // namespace kestrova
