#include "data/vhook/common/Overlay.h"

#include <cmath>

namespace kestrova::vhook {

namespace {

int32_t ScaledAlpha(int alpha, int opacity) {
    return (alpha * opacity + 127) / 255;
}

}  // namespace

bool TOverlay::Current(int width, int height, const TOverlayKey& key) const {
    return FPrepared && FWidth == width && FHeight == height && FKey == key;
}

void TOverlay::Resize(int width, int height) {
    FWidth = width;
    FHeight = height;
    FSamples.resize(static_cast<size_t>(width) * height);
}

void TOverlay::Prepare(const TRgbaImage& image, const TOverlayKey& key) {
    if (FSource == &image && Current(image.Width, image.Height, key)) return;
    Resize(image.Width, image.Height);
    const double lumaScale = key.ShiftGain * LumaSpan(key.Layout) / 255.0;
    for (int y = 0; y < image.Height; ++y) {
        TOverlaySample* out = FSamples.data() + static_cast<size_t>(y) * FWidth;
        for (int x = 0; x < image.Width; ++x, ++out) {
            const uint8_t* pixel = image.Pixel(x, y);
            const TRgb colour{pixel[0], pixel[1], pixel[2]};
            out->Alpha = ScaledAlpha(pixel[3], key.Opacity);
            if (key.Mode == TBlendMode::LumaShift) {
                out->C[0] = static_cast<int32_t>(
                        std::lround((Lightness(colour, key.Matrix) - 128.0) * lumaScale));
                out->C[1] = out->C[2] = 0;
                continue;
            }
            const std::array<int, 3> samples = ColourSamples(colour, key.Layout, key.Matrix);
            for (int c = 0; c < 3; ++c) out->C[c] = samples[c];
        }
    }
    FKey = key;
    FSource = &image;
    FPrepared = true;
}

void TOverlay::Prepare(const TAlphaMask& mask, const TOverlayKey& key) {
    if (FSource == &mask && Current(mask.Width, mask.Height, key)) return;
    Resize(mask.Width, mask.Height);
    const std::array<int, 3> samples = ColourSamples(key.Colour, key.Layout, key.Matrix);
    const size_t count = FSamples.size();
    for (size_t at = 0; at < count; ++at) {
        TOverlaySample& out = FSamples[at];
        for (int c = 0; c < 3; ++c) out.C[c] = samples[c];
        out.Alpha = ScaledAlpha(mask.Coverage[at], key.Opacity);
    }
    FKey = key;
    FSource = &mask;
    FPrepared = true;
}

}  // namespace kestrova::vhook
