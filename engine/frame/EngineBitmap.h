#pragma once
// The engine's picture type for previews and hooks: 24 bits per pixel in blue, green, red byte
// order, rows top-down, each row padded to a multiple of 4 bytes. A host draws it through an
// image over the same memory (for Qt: QImage::Format_BGR888 with BytesPerLine()).
// TPictureConverter turns a decoded picture of any pixel format into one.
#include "engine/frame/LibPtr.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace kestrova {

// Bytes of one bitmap row of that width: three per pixel, padded up to a multiple of 4.
constexpr int BitmapBytesPerLine(int width) {
    return (width * 3 + 3) & ~3;
}

class TEngineBitmap {
public:
    // Sets the size; the pixel memory only grows, so a smaller or equal size reallocates nothing.
    void SetSize(int width, int height);
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int BytesPerLine() const { return FBytesPerLine; }
    uint8_t* Line(int y) { return FPixels.data() + static_cast<std::size_t>(y) * FBytesPerLine; }
    const uint8_t* Line(int y) const { return FPixels.data() + static_cast<std::size_t>(y) * FBytesPerLine; }
    const uint8_t* Bits() const { return FPixels.data(); }

private:
    int FWidth = 0;
    int FHeight = 0;
    int FBytesPerLine = 0;
    std::vector<uint8_t> FPixels;
};

// Converts pictures into its own bitmap, reusing the bitmap, its conversion buffer and its
// scaler from one picture to the next; one per job (and one per probe).
class TPictureConverter {
public:
    // Fills the bitmap from a picture of `format`, `width` x `height` (the plane pointers and
    // line sizes as a decoder gives them). False when no scaler can be made for the format or
    // the picture is empty.
    bool Convert(const uint8_t* const data[4], const int lineSize[4], int format, int height, int width);
    bool Convert(const AVFrame& picture);

    // Null before the first successful conversion.
    const TEngineBitmap* Bitmap() const { return FBitmap.get(); }
    TEngineBitmap* Bitmap() { return FBitmap.get(); }
    // Frees the bitmap, the buffer and the scaler.
    void Reset();

private:
    bool NeedsScaling(const int lineSize[4], int format, int height, int width) const;
    bool ScaleIntoBuffer(const uint8_t* const data[4], const int lineSize[4], int format, int height,
                         int width);
    void CopyLines(const uint8_t* const data[4], const int lineSize[4], int height);

    std::unique_ptr<TEngineBitmap> FBitmap;
    AvMemoryPtr<uint8_t> FBuffer;  // the converted picture, when one was needed
    int FBufferSize = 0;
    uint8_t* FConvertedData[4]{};
    int FConvertedLineSize[4]{};
    ScalerPtr FScaler;
};

}  // namespace kestrova
