#pragma once
// What a job hands to its front while it runs: progress reports, the end-of-run notice, and the
// pictures of the custom hook and the preview bitmap.
#include <cstdint>
#include <functional>

namespace kestrova {

class TCustomFFmpeg;
class TEngineBitmap;

// The numbers behind one progress report.
struct TJobProgress {
    int InputIndex = -1;          // input of the last packet handled; -1 in the last report
    int64_t TotalDuration = -1;   // microseconds; -1 when unknown
    int64_t CurrentDuration = 0;  // output time reached, microseconds
    int64_t TotalSize = 0;        // bytes written to the first output
    float BitRate = 0;            // kbit/s
    float Quality = -1;           // -1 when unknown or when the first video stream is copied
    int Fps = -1;                 // -1 without video
    int FrameNumber = -1;         // of the first video output stream; -1 without video
};

using TProgressCallback = std::function<void(TCustomFFmpeg& job, const TJobProgress& progress)>;
// Called once at the end of every run, also after a start that failed.
using TTerminateCallback = std::function<void(TCustomFFmpeg& job)>;
// Each video picture of an output with a custom hook, as a bitmap the callback may draw on:
// `update` (true on entry) copies the bitmap back into the picture, `stopHook` (false on entry)
// ends the hook for the rest of the run. Called on the thread running the job.
using TCustomHookCallback = std::function<void(TCustomFFmpeg& job, TEngineBitmap& bitmap, bool& stopHook,
                                               bool& update, int64_t pts, uint32_t frameNumber)>;
// A picture for the host's preview, at most once per preview interval while the preview-bitmap
// flag is set. Called on the thread running the job.
using TPreviewBitmapCallback = std::function<void(TCustomFFmpeg& job, const TEngineBitmap& bitmap,
                                                  int64_t pts, uint32_t frameNumber)>;

}  // namespace kestrova
