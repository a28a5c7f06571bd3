#pragma once
// The clip formats the generator makes: container, file extension and encoders.
// Header only and library-free: the test-support library reads it too.
#include <array>
#include <string_view>

namespace kestrova::mediagen {

struct TFormatProfile {
    const char* Name;          // the --format value
    const char* Muxer;         // libavformat short name
    const char* Extension;     // usual file extension, without the dot
    const char* VideoEncoder;  // libavcodec encoder name, or nullptr for audio-only formats
    const char* AudioEncoder;
    bool Still;         // one picture, whatever the duration
    bool SizeChanges;   // the container carries a picture size change mid-stream
    bool SoundChanges;  // ... and a sample rate or channel count change
};

inline constexpr std::array<TFormatProfile, 9> kFormats = {{
        {"flv", "flv", "flv", "flv", "libmp3lame", false, false, false},
        {"f4v", "f4v", "f4v", "libx264", "aac", false, false, false},
        {"mp4", "mp4", "mp4", "libx264", "aac", false, false, false},
        {"mp4-mpeg4", "mp4", "mp4", "mpeg4", "aac", false, false, false},
        {"mp3", "mp3", "mp3", nullptr, "libmp3lame", false, false, true},
        {"wma", "asf", "wma", nullptr, "wmav2", false, false, false},
        {"wav", "wav", "wav", nullptr, "pcm_s16le", false, false, false},
        {"ts", "mpegts", "ts", "mpeg2video", "mp2", false, true, true},
        {"jpg", "mjpeg", "jpg", "mjpeg", nullptr, true, false, false},
}};

// The profile of a --format value, or nullptr when unknown.
inline const TFormatProfile* FindFormat(std::string_view name) {
    for (const TFormatProfile& profile : kFormats)
        if (name == profile.Name) return &profile;
    return nullptr;
}

}  // namespace kestrova::mediagen
