#pragma once
// Only for the core: what the video and subtitle output paths keep with the job across runs,
// buffers that only grow and the counter of decoded pictures handed to hooks and the preview.
#include "engine/frame/EngineBitmap.h"
#include "engine/frame/LibPtr.h"
#include "engine/frame/Previewer.h"

#include <cstdint>
#include <memory>

namespace kestrova {

struct TVideoPathState {
    // The copy of a decoded picture that deinterlacing and hooks write into: the decoder's own
    // picture may still serve as a reference for later pictures and is never written.
    FramePtr WorkPicture;
    uint32_t HookFrameCounter = 0;  // grows by one per decoded picture
    // Encoded subtitles land here before they are written (made on first use).
    AvMemoryPtr<uint8_t> SubtitleBuffer;

    // The custom hook: on for a run whose front installed a callback, off for the rest of the
    // run once the callback asks to stop or a conversion fails. The picture goes to the
    // callback as a bitmap and comes back through a scaler kept for the next picture.
    bool CustomHookOn = false;
    TPictureConverter HookConverter;
    ScalerPtr HookFromBitmap;

    // The preview: its own converter, the window previewer (made when the window flag is first
    // seen, freed when it is seen cleared) and the wall-clock time of the last preview.
    TPictureConverter PreviewConverter;
    std::unique_ptr<TPreviewer> Previewer;
    int64_t LastPreviewTime = 0;
    bool Previewed = false;  // LastPreviewTime holds a time
};

inline constexpr int kSubtitleBufferSize = 1048576;

}  // namespace kestrova
