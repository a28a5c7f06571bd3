#pragma once
// The engine component's four events: the records they carry, the handler types, and the slot a
// host assigns a handler to.
#include "engine/frame/EngineBitmap.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace kestrova {

class TCustomFFmpegEngine;

// One video picture of an output with a custom hook, as a bitmap the handler may draw on.
struct THookInfo {
    int32_t TaskIndex = -1;
    TEngineBitmap* Bitmap = nullptr;
    int32_t FrameNumber = 0;
    int64_t PTS = 0;        // microseconds
    bool Update = true;     // in/out: the bitmap is copied back into the picture
    bool StopHook = false;  // in/out: the task calls the hook no more in this run
};

struct TPreviewInfo {
    int32_t TaskIndex = -1;
    const TEngineBitmap* Bitmap = nullptr;
    int32_t FrameNumber = 0;
    int64_t PTS = 0;  // microseconds
};

struct TProgressInfo {
    int32_t TaskIndex = -1;
    int32_t FileIndex = -1;  // input of the last packet read; -1 in the task's last report
    int32_t FrameNumber = -1;
    int32_t FPS = -1;
    float Quality = -1;           // -1 when the encoder reports none (a copied stream)
    float BitRate = 0;            // kbit/s
    int64_t TotalSize = 0;        // bytes written so far
    int64_t CurrentDuration = 0;  // microseconds of output written so far
    int64_t TotalDuration = -1;   // microseconds expected in all; -1 when unknown
};

struct TTerminateInfo {
    int32_t TaskIndex = -1;  // -1: every task of the run has terminated
    bool Finished = false;   // ran to its end without a stop request
    bool Exception = false;  // an error ended it
    std::string ExceptionMsg;
};

// The records are the component's own and valid only during the call.
using TCustomHookEvent = std::function<void(TCustomFFmpegEngine& sender, THookInfo* hookInfo)>;
using TPreviewBitmapEvent = std::function<void(TCustomFFmpegEngine& sender, const TPreviewInfo& previewInfo)>;
using TProgressEvent = std::function<void(TCustomFFmpegEngine& sender, TProgressInfo* progressInfo)>;
using TTerminateEvent = std::function<void(TCustomFFmpegEngine& sender, const TTerminateInfo& terminateInfo)>;

// The handler of one event. A host may assign or clear it at any time, also while tasks raise
// the event: a dispatch keeps the handler it found when it began until its call has returned.
template <class TEvent>
class TEventHandler {
public:
    TEventHandler() = default;
    TEventHandler(const TEventHandler&) = delete;
    TEventHandler& operator=(const TEventHandler&) = delete;

    TEventHandler& operator=(TEvent handler) {
        std::shared_ptr<const TEvent> replacement;
        if (handler) replacement = std::make_shared<const TEvent>(std::move(handler));
        std::lock_guard lock(FLock);
        FHandler.swap(replacement);
        return *this;  // the old handler goes here, outside the lock
    }
    TEventHandler& operator=(std::nullptr_t) { return *this = TEvent(); }

    explicit operator bool() const { return Current() != nullptr; }
    // The handler now assigned; null when none.
    std::shared_ptr<const TEvent> Current() const {
        std::lock_guard lock(FLock);
        return FHandler;
    }

private:
    mutable std::mutex FLock;
    std::shared_ptr<const TEvent> FHandler;
};

}  // namespace kestrova
