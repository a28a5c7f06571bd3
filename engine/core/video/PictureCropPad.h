#pragma once
// Cropping and padding of pictures without the libraries' old picture helpers: a crop moves
// the plane pointers to the first kept pixel (no copy), a pad fills the borders around an
// inner rectangle that the caller has already written.
#include "engine/core/options/PadColour.h"
#include "engine/frame/LibHeaders.h"

namespace kestrova {

struct TPictureBands {
    int Top = 0, Bottom = 0, Left = 0, Right = 0;

    bool Any() const { return Top || Bottom || Left || Right; }
    int Width() const { return Left + Right; }   // of the left and right bands together
    int Height() const { return Top + Bottom; }  // of the top and bottom bands together
};

// Moves the plane pointers of a planar or packed 8-bit picture to start at (left, top).
// False when the format cannot be cropped there (unknown format, or a chroma-subsampled
// offset that falls between chroma samples).
bool CropPlanes(uint8_t* data[4], const int linesize[4], AVPixelFormat format, int top, int left);

// Fills the bands of `picture` (its full size) outside the inner rectangle with the colour.
// Only planar YUV formats (and grey) are padded; false for others.
bool PadBorders(AVFrame& picture, const TPictureBands& pads, const TYuvColour& colour);

}  // namespace kestrova
