#include "engine/frame/EngineBitmap.h"

#include "engine/frame/LibBindings.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace kestrova {

namespace {
constexpr AVPixelFormat kBitmapFormat = AV_PIX_FMT_BGR24;
constexpr int kBicubic = SWS_BICUBIC;
// The scaler writes whole vector blocks: its rows are aligned and the buffer has room past the
// last one.
constexpr int kRowAlignment = 32;
constexpr int kTailRoom = 64;
}  // namespace

void TEngineBitmap::SetSize(int width, int height) {
    FWidth = width;
    FHeight = height;
    FBytesPerLine = BitmapBytesPerLine(width);
    const std::size_t size = static_cast<std::size_t>(FBytesPerLine) * static_cast<std::size_t>(height);
    if (size > FPixels.size()) FPixels.resize(size);
}

bool TPictureConverter::Convert(const AVFrame& picture) {
    return Convert(picture.data, picture.linesize, picture.format, picture.height, picture.width);
}

bool TPictureConverter::Convert(const uint8_t* const data[4], const int lineSize[4], int format, int height,
                                int width) {
    if (width <= 0 || height <= 0 || data[0] == nullptr) return false;
    // The scaler does not check its formats itself: an unknown one would crash it.
    if (format < 0 || format >= AV_PIX_FMT_NB ||
        ff::sws_isSupportedInput(static_cast<AVPixelFormat>(format)) == 0)
        return false;
    if (!FBitmap) FBitmap = std::make_unique<TEngineBitmap>();
    FBitmap->SetSize(width, height);
    if (!NeedsScaling(lineSize, format, height, width)) {
        CopyLines(data, lineSize, height);
        return true;
    }
    if (!ScaleIntoBuffer(data, lineSize, format, height, width)) return false;
    CopyLines(FConvertedData, FConvertedLineSize, height);
    return true;
}

// A picture already laid out as the bitmap is copied as it is; anything else goes through the
// scaler (odd sizes too, which the scaler's chroma handling expects).
bool TPictureConverter::NeedsScaling(const int lineSize[4], int format, int height, int width) const {
    return format != kBitmapFormat || width % 2 != 0 || height % 2 != 0 ||
           lineSize[0] != FBitmap->BytesPerLine();
}

bool TPictureConverter::ScaleIntoBuffer(const uint8_t* const data[4], const int lineSize[4], int format,
                                        int height, int width) {
    const int picture = ff::av_image_get_buffer_size(kBitmapFormat, width, height, kRowAlignment);
    if (picture <= 0) return false;
    const int size = picture + kTailRoom;
    if (size > FBufferSize) {
        FBuffer.reset(static_cast<uint8_t*>(ff::av_malloc(static_cast<std::size_t>(size))));
        FBufferSize = FBuffer ? size : 0;
        if (!FBuffer) return false;
    }
    ff::av_image_fill_arrays(FConvertedData, FConvertedLineSize, FBuffer.get(), kBitmapFormat, width, height,
                             kRowAlignment);
    // The cached context frees the one handed in when it cannot reuse it.
    FScaler.reset(ff::sws_getCachedContext(FScaler.release(), width, height,
                                           static_cast<AVPixelFormat>(format), width, height, kBitmapFormat,
                                           kBicubic, nullptr, nullptr, nullptr));
    if (!FScaler) return false;
    ff::sws_scale(FScaler.get(), data, lineSize, 0, height, FConvertedData, FConvertedLineSize);
    return true;
}

void TPictureConverter::CopyLines(const uint8_t* const data[4], const int lineSize[4], int height) {
    const std::size_t bytes =
            static_cast<std::size_t>(std::min(std::abs(lineSize[0]), FBitmap->BytesPerLine()));
    const uint8_t* line = data[0];
    for (int y = 0; y < height; ++y, line += lineSize[0]) std::memcpy(FBitmap->Line(y), line, bytes);
}

void TPictureConverter::Reset() {
    FBitmap.reset();
    FBuffer.reset();
    FBufferSize = 0;
    FScaler.reset();
}

}  // namespace kestrova
