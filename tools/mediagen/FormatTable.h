#pragma once
// The clip formats the generator makes: container, file extension and encoders.
// Header only and library-free: the test-support library reads it too.
#include <array>
#include <string_view>

namespace kestrova::mediagen {

struct FormatProfile {
    const char* name;          // the --format value
    const char* muxer;         // libavformat short name
    const char* extension;     // usual file extension, without the dot
    const char* videoEncoder;  // libavcodec encoder name, or nullptr for audio-only formats
    const char* audioEncoder;
};

inline constexpr std::array<FormatProfile, 7> kFormats = {{
    {"flv", "flv", "flv", "flv", "libmp3lame"},
    {"f4v", "f4v", "f4v", "libx264", "aac"},
    {"mp4", "mp4", "mp4", "libx264", "aac"},
    {"mp4-mpeg4", "mp4", "mp4", "mpeg4", "aac"},
    {"mp3", "mp3", "mp3", nullptr, "libmp3lame"},
    {"wma", "asf", "wma", nullptr, "wmav2"},
    {"wav", "wav", "wav", nullptr, "pcm_s16le"},
}};

// The profile of a --format value, or nullptr when unknown.
inline const FormatProfile* FindFormat(std::string_view name) {
    for (const FormatProfile& profile : kFormats)
        if (name == profile.name) return &profile;
    return nullptr;
}

} // namespace kestrova::mediagen
