#pragma once
// A picture from a file, drawn onto video pictures of any supported kind.
#include "data/vhook/common/HookInterface.h"
#include "data/vhook/common/Overlay.h"

#include <optional>
#include <string_view>

namespace kestrova::vhook {

class TImageLayer {
public:
    // Reads the picture (see ResolveModuleFile for where it is looked up); false when it
    // cannot be read.
    bool Load(std::string_view path);
    // Pixels of exactly this colour become transparent.
    void SetColourKey(TRgb key);

    int Width() const { return FImage.Width; }
    int Height() const { return FImage.Height; }

    // Draws the picture with its top-left corner at (x, y); formats without a layout are left
    // alone.
    void Draw(THookPicture& picture, AVPixelFormat pixFmt, int width, int height, int x, int y,
              TBlendMode mode = TBlendMode::Over, double shiftGain = 1);

private:
    TRgbaImage FImage;
    TOverlay FOverlay;
};

}  // namespace kestrova::vhook
