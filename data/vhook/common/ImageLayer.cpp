#include "data/vhook/common/ImageLayer.h"

#include "data/vhook/common/BmpFile.h"
#include "data/vhook/common/ModuleFiles.h"
#include "data/vhook/common/PictureDrawing.h"

namespace kestrova::vhook {

bool TImageLayer::Load(std::string_view path) {
    std::optional<TRgbaImage> image = ReadBmpFile(ResolveModuleFile(path));
    if (!image) return false;
    FImage = std::move(*image);
    FOverlay = TOverlay();
    return true;
}

void TImageLayer::SetColourKey(TRgb key) {
    ApplyColourKey(FImage, key);
    FOverlay = TOverlay();
}

void TImageLayer::Draw(THookPicture& picture, AVPixelFormat pixFmt, int width, int height, int x, int y,
                       TBlendMode mode, double shiftGain) {
    const std::optional<TPixelLayout> layout = DescribePixelFormat(pixFmt);
    if (!layout) return;
    TOverlayKey key;
    key.Layout = *layout;
    key.Matrix = MatrixForSize(width, height);
    key.Mode = mode;
    key.ShiftGain = shiftGain;
    FOverlay.Prepare(FImage, key);
    DrawOverlay(picture, width, height, FOverlay, x, y);
}

}  // namespace kestrova::vhook
