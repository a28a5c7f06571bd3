#include "data/vhook/demo/DemoHook.h"

#include "data/vhook/common/HookOptions.h"
#include "data/vhook/text/FontLookup.h"

#include <array>
#include <cctype>

namespace kestrova::vhook {

namespace {

constexpr std::array<std::string_view, 11> kOptionNames = {"-i",  "-mc", "-ix", "-iy", "-t",  "-tx",
                                                           "-ty", "-fc", "-fn", "-fs", "-fst"};
constexpr std::array<std::string_view, 1> kTextOptions = {"-t"};

// Reads the style letters into the text style; false on a letter that names no style.
bool ApplyStyleLetters(std::string_view letters, TTextStyle& style) {
    for (const char letter : letters) {
        switch (std::toupper(static_cast<unsigned char>(letter))) {
            case 'B':
                style.Bold = true;
                break;
            case 'I':
                style.Italic = true;
                break;
            case 'U':
                style.Underline = true;
                break;
            case 'S':
                style.StrikeOut = true;
                break;
            default:
                return false;
        }
    }
    return true;
}

bool ReadPosition(const THookOptions& options, std::string_view xName, std::string_view yName, int& x,
                  int& y) {
    const std::optional<int> readX = ParseInteger(options.Value(xName, "0"));
    const std::optional<int> readY = ParseInteger(options.Value(yName, "0"));
    if (!readX || !readY) return false;
    x = *readX;
    y = *readY;
    return true;
}

}  // namespace

int TDemoHook::Configure(std::span<const std::string_view> arguments) {
    const std::optional<THookOptions> options = THookOptions::Parse(arguments, kOptionNames, kTextOptions);
    if (!options) return hfBadArguments;
    const bool wantsImage = options->Has("-i");
    const bool wantsText = options->Has("-t") && !options->Value("-t").empty();
    if (!wantsImage && !wantsText) return hfBadArguments;
    if (!ReadPosition(*options, "-ix", "-iy", FImageX, FImageY)) return hfBadArguments;
    if (!ReadPosition(*options, "-tx", "-ty", FTextX, FTextY)) return hfBadArguments;

    std::optional<TRgb> key;
    if (options->Has("-mc") && !(key = ParseHexColour(options->Value("-mc")))) return hfBadArguments;
    const std::optional<TRgb> colour = ParseHexColour(options->Value("-fc", "FFFFFF"));
    const std::optional<double> size = ParseNumber(options->Value("-fs", "16"));
    TTextStyle style;
    if (!colour || !size || !(*size > 0 && *size <= kMaxPointSize) ||
        !ApplyStyleLetters(options->Value("-fst"), style))
        return hfBadArguments;
    FTextColour = *colour;

    if (wantsImage) {
        FImage.emplace();
        if (!FImage->Load(options->Value("-i"))) return hfPictureUnreadable;
        if (key) FImage->SetColourKey(*key);
    }
    if (wantsText) {
        const TFontName font = InterpretFontName(options->Value("-fn", "sans-serif"));
        style.FontFile = font.File;
        style.Family = font.Family;
        style.PointSize = *size;
        std::optional<TTextMask> text = RenderText(options->Value("-t"), style);
        if (!text) return hfFontUnavailable;
        FText.emplace(std::move(*text));
    }
    return 0;
}

void TDemoHook::Process(THookPicture& picture, AVPixelFormat pixFmt, int width, int height, int64_t) {
    if (FImage) FImage->Draw(picture, pixFmt, width, height, FImageX, FImageY);
    if (FText) FText->Draw(picture, pixFmt, width, height, FTextX, FTextY, FTextColour);
}

}  // namespace kestrova::vhook
