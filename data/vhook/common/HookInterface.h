#pragma once
// What the engine hands a video hook module: the picture record (four plane pointers and four
// line sizes) and the three entry points every module exports.
#include <cstdint>

extern "C" {
#include <libavutil/pixfmt.h>
}

// Only the three entry points leave a module; everything else stays hidden.
#define KESTROVA_HOOK_EXPORT extern "C" __attribute__((visibility("default")))

namespace kestrova::vhook {

// Laid out exactly as the engine's picture record.
struct THookPicture {
    uint8_t* Data[4];
    int Linesize[4];
};

// Non-zero results of Configure. The engine reports a refused configuration itself; a module
// has no logger of its own.
enum THookFailure : int {
    hfBadArguments = 1,  // an unknown option, a missing or malformed value, nothing to draw
    hfPictureUnreadable = 2,
    hfFontUnavailable = 3,
    hfOutOfMemory = 4,
};

}  // namespace kestrova::vhook
