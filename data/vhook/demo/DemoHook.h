#pragma once
// The demonstration hook: a picture and a line of text at fixed places on every frame.
//   -i <picture>    picture to draw (a 24- or 32-bit BMP)
//   -mc <RRGGBB>    pixels of exactly this colour in the picture are transparent
//   -ix <x>, -iy <y>  the picture's top-left corner in the frame (default 0, 0)
//   -t <text>       text to draw (UTF-8)
//   -tx <x>, -ty <y>  the top-left corner of the text's line (default 0, 0)
//   -fc <RRGGBB>    text colour (default FFFFFF)
//   -fn <font>      font family, or a font file (default sans-serif)
//   -fs <points>    font size in points at 96 dpi (default 16)
//   -fst <letters>  style: any of B (bold), I (italic), U (underline), S (strike-out)
// At least one of -i and -t. The picture is drawn first, the text over it.
#include "data/vhook/common/HookInterface.h"
#include "data/vhook/common/ImageLayer.h"
#include "data/vhook/text/TextLayer.h"

#include <optional>
#include <span>
#include <string_view>

namespace kestrova::vhook {

class TDemoHook {
public:
    int Configure(std::span<const std::string_view> arguments);
    void Process(THookPicture& picture, AVPixelFormat pixFmt, int width, int height, int64_t pts);

private:
    std::optional<TImageLayer> FImage;
    int FImageX = 0, FImageY = 0;
    std::optional<TTextLayer> FText;
    int FTextX = 0, FTextY = 0;
    TRgb FTextColour{255, 255, 255};
};

}  // namespace kestrova::vhook
