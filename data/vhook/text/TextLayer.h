#pragma once
// A rendered line of text, drawn in a colour with a soft dark shadow that keeps it readable on
// bright pictures.
#include "data/vhook/common/HookInterface.h"
#include "data/vhook/common/Overlay.h"
#include "data/vhook/text/TextRaster.h"

namespace kestrova::vhook {

class TTextLayer {
public:
    explicit TTextLayer(TTextMask text) : FText(std::move(text)) {}

    // The line box: the text's advance and the font's line height.
    int Width() const { return FText.LineWidth; }
    int Height() const { return FText.LineHeight; }

    // Draws the text with its line box's top-left corner at (x, y); opacity 0..255.
    void Draw(THookPicture& picture, AVPixelFormat pixFmt, int width, int height, int x, int y, TRgb colour,
              int opacity = 255);

private:
    TTextMask FText;
    TOverlay FShadow, FFill;
};

}  // namespace kestrova::vhook
