#include "data/vhook/imlib2/ImageTextHook.h"

#include "data/vhook/common/HookOptions.h"
#include "data/vhook/common/PictureDrawing.h"
#include "data/vhook/text/FontLookup.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kestrova::vhook {

namespace {

constexpr std::array<std::string_view, 9> kOptionNames = {"-i", "-t", "-F", "-x", "-y",
                                                          "-R", "-G", "-B", "-A"};
constexpr std::array<std::string_view, 1> kTextOptions = {"-t"};

struct TExpressionOption {
    std::string_view Name;
    std::string_view Default;
};

// A colour component or opacity from an expression: rounded and kept in 0..255.
int ComponentValue(double value) {
    if (!std::isfinite(value)) return 0;
    return static_cast<int>(std::lround(std::clamp(value, 0.0, 255.0)));
}

// "<font>/<size>": the font part may itself hold slashes (a path); the size follows the last.
bool ReadFontOption(std::string_view text, TTextStyle& style) {
    const size_t slash = text.rfind('/');
    if (slash == std::string_view::npos || slash == 0) return false;
    const std::optional<double> size = ParseNumber(text.substr(slash + 1));
    if (!size || !(*size > 0 && *size <= kMaxPointSize)) return false;
    const TFontName font = InterpretFontName(text.substr(0, slash));
    style.FontFile = font.File;
    style.Family = font.Family;
    style.PointSize = *size;
    return true;
}

}  // namespace

int TImageTextHook::ReadExpressions(const THookOptions& options) {
    constexpr TExpressionOption kSlots[esCount] = {{"-x", "0"},   {"-y", "0"},   {"-R", "255"},
                                                   {"-G", "255"}, {"-B", "255"}, {"-A", "255"}};
    for (int slot = 0; slot < esCount; ++slot) {
        FExpressions[slot] = TExpression::Parse(options.Value(kSlots[slot].Name, kSlots[slot].Default));
        if (!FExpressions[slot]) return hfBadArguments;
    }
    return 0;
}

int TImageTextHook::Configure(std::span<const std::string_view> arguments) {
    const std::optional<THookOptions> options = THookOptions::Parse(arguments, kOptionNames, kTextOptions);
    if (!options) return hfBadArguments;
    const bool wantsImage = options->Has("-i");
    const bool wantsText = options->Has("-t") && !options->Value("-t").empty();
    if (!wantsImage && !wantsText) return hfBadArguments;
    if (const int failure = ReadExpressions(*options); failure != 0) return failure;
    TTextStyle style;
    if (!ReadFontOption(options->Value("-F", "sans-serif/16"), style)) return hfBadArguments;

    if (wantsImage) {
        FImage.emplace();
        if (!FImage->Load(options->Value("-i"))) return hfPictureUnreadable;
    }
    if (wantsText) {
        std::optional<TTextMask> text = RenderText(options->Value("-t"), style);
        if (!text) return hfFontUnavailable;
        FText.emplace(std::move(*text));
    }
    return 0;
}

TRgb TImageTextHook::TextColour(const TExpressionValues& values, int& opacity) const {
    opacity = ComponentValue(FExpressions[esAlpha]->Evaluate(values));
    return TRgb{static_cast<uint8_t>(ComponentValue(FExpressions[esRed]->Evaluate(values))),
                static_cast<uint8_t>(ComponentValue(FExpressions[esGreen]->Evaluate(values))),
                static_cast<uint8_t>(ComponentValue(FExpressions[esBlue]->Evaluate(values)))};
}

void TImageTextHook::Process(THookPicture& picture, AVPixelFormat pixFmt, int width, int height,
                             int64_t pts) {
    TExpressionValues values{};
    values[evPictureWidth] = width;
    values[evPictureHeight] = height;
    values[evFrame] = static_cast<double>(FFrameCount++);
    values[evTime] = static_cast<double>(pts) / 1e6;
    int x = 0, y = 0;
    if (FImage) {
        values[evItemWidth] = FImage->Width();
        values[evItemHeight] = FImage->Height();
        if (ToPixelPosition(FExpressions[esX]->Evaluate(values), x) &&
            ToPixelPosition(FExpressions[esY]->Evaluate(values), y))
            FImage->Draw(picture, pixFmt, width, height, x, y);
    }
    if (FText) {
        values[evItemWidth] = FText->Width();
        values[evItemHeight] = FText->Height();
        int opacity = 255;
        const TRgb colour = TextColour(values, opacity);
        if (ToPixelPosition(FExpressions[esX]->Evaluate(values), x) &&
            ToPixelPosition(FExpressions[esY]->Evaluate(values), y))
            FText->Draw(picture, pixFmt, width, height, x, y, colour, opacity);
    }
}

}  // namespace kestrova::vhook
