#pragma once
// The image-and-text hook: a picture and a line of text whose place and colour may move from
// frame to frame (see Expression.h for the variables and functions).
//   -i <picture>     picture to draw (a 24- or 32-bit BMP)
//   -t <text>        text to draw (UTF-8)
//   -F <font>/<size> font family or font file, and its size in points at 96 dpi
//                    (default sans-serif/16; "Tahoma.ttf/16" asks for the family Tahoma)
//   -x <expr>, -y <expr>  top-left corner of the picture and of the text's line (default 0)
//   -R, -G, -B <expr>     the text's colour components 0..255 (default 255)
//   -A <expr>             the text's opacity 0..255 (default 255)
// At least one of -i and -t; with both, each is placed by the same expressions with its own
// w and h, the picture first.
#include "data/vhook/common/Expression.h"
#include "data/vhook/common/HookInterface.h"
#include "data/vhook/common/ImageLayer.h"
#include "data/vhook/text/TextLayer.h"

#include <optional>
#include <span>
#include <string_view>

namespace kestrova::vhook {

class THookOptions;

class TImageTextHook {
public:
    int Configure(std::span<const std::string_view> arguments);
    void Process(THookPicture& picture, AVPixelFormat pixFmt, int width, int height, int64_t pts);

private:
    enum TExpressionSlot { esX, esY, esRed, esGreen, esBlue, esAlpha, esCount };

    int ReadExpressions(const THookOptions& options);
    TRgb TextColour(const TExpressionValues& values, int& opacity) const;

    std::optional<TImageLayer> FImage;
    std::optional<TTextLayer> FText;
    std::optional<TExpression> FExpressions[esCount];
    int64_t FFrameCount = 0;
};

}  // namespace kestrova::vhook
