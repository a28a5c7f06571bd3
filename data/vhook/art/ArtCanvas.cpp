#include "data/vhook/art/ArtCanvas.h"

#include <algorithm>
#include <cmath>

namespace kestrova::vhook::art {

TColour Rgb(int red, int green, int blue, float alpha) {
    return {static_cast<float>(red) / 255.0f, static_cast<float>(green) / 255.0f,
            static_cast<float>(blue) / 255.0f, alpha};
}

TArtCanvas::TArtCanvas(int width, int height)
    : FWidth(width), FHeight(height), FPixels(static_cast<size_t>(width) * height) {}

void TArtCanvas::Composite(int x, int y, const TColour& colour, float coverage) {
    const float alpha = std::clamp(colour.Alpha * coverage, 0.0f, 1.0f);
    if (alpha <= 0) return;
    TPremultiplied& pixel = FPixels[static_cast<size_t>(y) * FWidth + x];
    const float keep = 1.0f - alpha;
    pixel.Red = colour.Red * alpha + pixel.Red * keep;
    pixel.Green = colour.Green * alpha + pixel.Green * keep;
    pixel.Blue = colour.Blue * alpha + pixel.Blue * keep;
    pixel.Alpha = alpha + pixel.Alpha * keep;
}

void TArtCanvas::Fill(const TShape& shape, const TPaint& paint, float opacity) {
    for (int y = 0; y < FHeight; ++y) {
        for (int x = 0; x < FWidth; ++x) {
            const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
            const float coverage = std::clamp(0.5f - shape(px, py), 0.0f, 1.0f);
            if (coverage > 0) Composite(x, y, paint(px, py), coverage * opacity);
        }
    }
}

void TArtCanvas::Shadow(const TShape& shape, float dx, float dy, float softness, float opacity) {
    for (int y = 0; y < FHeight; ++y) {
        for (int x = 0; x < FWidth; ++x) {
            const float distance =
                    shape(static_cast<float>(x) + 0.5f - dx, static_cast<float>(y) + 0.5f - dy);
            // Smooth step from fully dark at -softness inside to clear at +softness outside.
            const float t = std::clamp((softness - distance) / (2 * softness), 0.0f, 1.0f);
            const float coverage = t * t * (3 - 2 * t);
            if (coverage > 0) Composite(x, y, TColour{0, 0, 0, opacity}, coverage);
        }
    }
}

std::vector<uint8_t> TArtCanvas::ToRgba() const {
    std::vector<uint8_t> bytes;
    bytes.reserve(FPixels.size() * 4);
    auto toByte = [](float value) {
        return static_cast<uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255));
    };
    for (const TPremultiplied& pixel : FPixels) {
        const float alpha = pixel.Alpha;
        const float unpremultiply = alpha > 0 ? 1.0f / alpha : 0.0f;
        bytes.push_back(toByte(pixel.Red * unpremultiply));
        bytes.push_back(toByte(pixel.Green * unpremultiply));
        bytes.push_back(toByte(pixel.Blue * unpremultiply));
        bytes.push_back(toByte(alpha));
    }
    return bytes;
}

}  // namespace kestrova::vhook::art
