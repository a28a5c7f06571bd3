#pragma once
// What a job hands to its front while it runs: progress reports and the end-of-run notice.
#include <cstdint>
#include <functional>

namespace kestrova {

class TCustomFFmpeg;

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

}  // namespace kestrova
