#include "data/vhook/text/TextLayer.h"

#include "data/vhook/common/PictureDrawing.h"

#include <algorithm>

namespace kestrova::vhook {

namespace {

// The shadow: black at this share of the text's opacity, offset by a sixteenth of the line.
constexpr int kShadowOpacity = 150;
constexpr int kShadowOffsetDivisor = 16;

}  // namespace

void TTextLayer::Draw(THookPicture& picture, AVPixelFormat pixFmt, int width, int height, int x, int y,
                      TRgb colour, int opacity) {
    const std::optional<TPixelLayout> layout = DescribePixelFormat(pixFmt);
    if (!layout) return;
    TOverlayKey key;
    key.Layout = *layout;
    key.Matrix = MatrixForSize(width, height);
    key.Opacity = std::clamp(opacity, 0, 255);

    TOverlayKey shadowKey = key;
    shadowKey.Colour = TRgb{0, 0, 0};
    shadowKey.Opacity = key.Opacity * kShadowOpacity / 255;
    FShadow.Prepare(FText.Mask, shadowKey);
    key.Colour = colour;
    FFill.Prepare(FText.Mask, key);

    const int left = x - FText.OriginX, top = y - FText.OriginY;
    const int offset = std::max(1, FText.LineHeight / kShadowOffsetDivisor);
    DrawOverlay(picture, width, height, FShadow, left + offset, top + offset);
    DrawOverlay(picture, width, height, FFill, left, top);
}

}  // namespace kestrova::vhook
