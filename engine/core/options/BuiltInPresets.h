#pragma once
// The job's built-in presets: sixteen named sets of libx264 settings ("libx264-default", ...).
#include <span>
#include <string_view>

namespace kestrova {

struct TBuiltInPreset {
    std::string_view Name;
    std::string_view Text;  // key=value lines, each ending with a line feed
};

std::span<const TBuiltInPreset> BuiltInPresets();

// Case-insensitive lookup by name; nullptr when there is no such preset.
const TBuiltInPreset* FindBuiltInPreset(std::string_view name);

}  // namespace kestrova
