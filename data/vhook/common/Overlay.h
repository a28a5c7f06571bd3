#pragma once
// An image or a coloured text mask turned into the samples of one kind of video picture, ready
// to be laid over it. Preparing again for the same picture kind and colour costs nothing, and
// the sample buffer only grows, so a steady stream of pictures allocates nothing.
#include "data/vhook/common/Colour.h"
#include "data/vhook/common/PixelLayout.h"
#include "data/vhook/common/RgbaImage.h"

#include <cstdint>
#include <vector>

namespace kestrova::vhook {

enum class TBlendMode {
    Over,       // the overlay's colours over the picture, weighted by its alpha
    LumaShift,  // the overlay's lightness, relative to mid grey, brightens or darkens the picture;
                // colour stays the picture's own (a see-through, embossed mark)
};

// What an overlay was prepared for.
struct TOverlayKey {
    TPixelLayout Layout;
    TColourMatrix Matrix;
    TBlendMode Mode = TBlendMode::Over;
    TRgb Colour;           // the colour of a text mask
    int Opacity = 255;     // 0..255, scales the alpha of every pixel
    double ShiftGain = 1;  // LumaShift: lightness offset to luma offset

    friend bool operator==(const TOverlayKey&, const TOverlayKey&) = default;
};

// One prepared pixel: the three samples in the picture's terms (for LumaShift, C[0] is the
// signed luma offset) and the opacity.
struct TOverlaySample {
    int32_t C[3];
    int32_t Alpha;
};

class TOverlay {
public:
    void Prepare(const TRgbaImage& image, const TOverlayKey& key);
    void Prepare(const TAlphaMask& mask, const TOverlayKey& key);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    TBlendMode Mode() const { return FKey.Mode; }
    const TPixelLayout& Layout() const { return FKey.Layout; }
    const TOverlaySample* Row(int y) const { return FSamples.data() + static_cast<size_t>(y) * FWidth; }

private:
    bool Current(int width, int height, const TOverlayKey& key) const;
    void Resize(int width, int height);

    std::vector<TOverlaySample> FSamples;
    int FWidth = 0, FHeight = 0;
    bool FPrepared = false;
    TOverlayKey FKey;
    const void* FSource = nullptr;
};

}  // namespace kestrova::vhook
