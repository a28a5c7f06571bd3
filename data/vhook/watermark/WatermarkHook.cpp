#include "data/vhook/watermark/WatermarkHook.h"

#include "data/vhook/common/HookOptions.h"

#include <array>

namespace kestrova::vhook {

namespace {

constexpr int kMargin = 10;
// Relief strength: half the mark's distance from mid grey, so that the frame stays readable
// under a white or black mark.
constexpr double kReliefGain = 0.5;

constexpr std::array<std::string_view, 2> kOptionNames = {"-f", "-m"};

}  // namespace

int TWatermarkHook::Configure(std::span<const std::string_view> arguments) {
    const std::optional<THookOptions> options = THookOptions::Parse(arguments, kOptionNames);
    if (!options || !options->Has("-f")) return hfBadArguments;
    const std::optional<int> mode = ParseInteger(options->Value("-m", "0"));
    if (!mode || (*mode != 0 && *mode != 1)) return hfBadArguments;
    FMode = *mode == 0 ? TBlendMode::LumaShift : TBlendMode::Over;
    if (!FMark.Load(options->Value("-f"))) return hfPictureUnreadable;
    return 0;
}

void TWatermarkHook::Process(THookPicture& picture, AVPixelFormat pixFmt, int width, int height, int64_t) {
    FMark.Draw(picture, pixFmt, width, height, width - FMark.Width() - kMargin, kMargin, FMode, kReliefGain);
}

}  // namespace kestrova::vhook
