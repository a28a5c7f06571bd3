#include "ProbeBitmap.h"

#include <algorithm>

namespace kestrova {

void TProbeBitmap::SetSize(int width, int height) {
    Width = std::max(width, 0);
    Height = std::max(height, 0);
    Stride = (Width * 3 + 3) & ~3;
    const std::size_t bytes = static_cast<std::size_t>(Stride) * Height;
    if (Pixels.size() < bytes) Pixels.resize(bytes);
}

void TProbeBitmap::FillBlack() {
    std::fill_n(Pixels.begin(), static_cast<std::size_t>(Stride) * Height, uint8_t{0});
}

bool TPictureToBitmap::Convert(const AVFrame& picture, TProbeBitmap& bitmap) {
    bitmap.SetSize(picture.width, picture.height);
    const auto format = static_cast<AVPixelFormat>(picture.format);
    SwsContext* scaler = nullptr;
    if (picture.width > 0 && picture.height > 0 && format != AV_PIX_FMT_NONE)
        scaler = ff::sws_getCachedContext(FScaler.release(), picture.width, picture.height, format,
                                          picture.width, picture.height, AV_PIX_FMT_BGR24,
                                          SWS_BICUBIC, nullptr, nullptr, nullptr);
    FScaler.reset(scaler);
    if (!scaler) {
        bitmap.FillBlack();
        return false;
    }
    uint8_t* const target[4] = {bitmap.Pixels.data(), nullptr, nullptr, nullptr};
    const int targetStride[4] = {bitmap.Stride, 0, 0, 0};
    const int rows = ff::sws_scale(scaler, picture.data, picture.linesize, 0, picture.height,
                                   target, targetStride);
    if (rows != picture.height) {
        bitmap.FillBlack();
        return false;
    }
    return true;
}

} // namespace kestrova
