#pragma once
// Presets: named texts of key=value lines that set a codec name or codec options in one go.
// "vpre", "apre" and "spre" name a built-in preset (BuiltInPresets.h), looked up as given and
// then with the kind's codec name in front ("default" with libx264 -> "libx264-default");
// "fpre" names a file whose content is the preset text.
#include <string>

namespace kestrova {

// What applying a preset needs from a job.
struct TPresetTarget {
    // The codec name set for a kind: 'a' audio, 'v' video, 's' subtitle; empty when none.
    virtual std::string CodecName(char kind) const = 0;
    // As the options "acodec", "vcodec", "scodec".
    virtual void SetCodecName(char kind, const std::string& name) = 0;
    // The job's generic option setter: false when nothing knows the name or the value is refused.
    virtual bool SetAVOption(const std::string& name, const std::string& value) = 0;

protected:
    ~TPresetTarget() = default;
};

// True for "apre", "vpre", "spre" and "fpre".
bool IsPresetOption(const std::string& option);

// Applies the preset named by `value` for the preset option `option`. Throws FFmpegException
// when no preset is found or a line fails; lines before the failing one stay applied.
void ApplyPresetOption(const std::string& option, const std::string& value, TPresetTarget& job);

// Applies preset text line by line; `presetName` names the preset in error messages.
void ApplyPresetText(const std::string& presetName, const std::string& text, TPresetTarget& job);

}  // namespace kestrova
