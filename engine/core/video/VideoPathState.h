#pragma once
// Only for the core: what the video and subtitle output paths keep with the job across runs,
// buffers that only grow and the counter of decoded pictures handed to hooks and the preview.
#include "engine/frame/LibPtr.h"

#include <cstdint>

namespace kestrova {

struct TVideoPathState {
    // The copy of a decoded picture that deinterlacing and hooks write into: the decoder's own
    // picture may still serve as a reference for later pictures and is never written.
    FramePtr WorkPicture;
    uint32_t HookFrameCounter = 0;  // grows by one per decoded picture
    // Encoded subtitles land here before they are written (made on first use).
    AvMemoryPtr<uint8_t> SubtitleBuffer;
};

inline constexpr int kSubtitleBufferSize = 1048576;

}  // namespace kestrova
