#pragma once
// Draws one line of text into a coverage mask with FreeType: anti-aliased, kerned, with bold,
// italic, underline and strike-out.
#include "data/vhook/common/RgbaImage.h"

#include <optional>
#include <string>
#include <string_view>

namespace kestrova::vhook {

struct TTextStyle {
    std::string FontFile;  // a font file to use; empty: look the family up
    std::string Family = "sans-serif";
    double PointSize = 16;  // points at 96 dots per inch
    bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
};

struct TTextMask {
    TAlphaMask Mask;
    // Where the line box's top-left corner (the pen's start at the top of the line) lies in the
    // mask: glyphs may reach a little to the left of the pen or outside the line.
    int OriginX = 0, OriginY = 0;
    // The line box: the advance of the whole text and the font's line height.
    int LineWidth = 0, LineHeight = 0;
};

// Largest size the modules draw text at; larger sizes are refused.
inline constexpr double kMaxPointSize = 400;

// Nothing when the font cannot be found or loaded. Invalid UTF-8 bytes show as U+FFFD.
std::optional<TTextMask> RenderText(std::string_view utf8, const TTextStyle& style);

}  // namespace kestrova::vhook
