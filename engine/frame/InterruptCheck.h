#pragma once
// The libraries' interrupt callback of an input's format context: opening, the stream search
// and every blocking read give up (AVERROR_EXIT) once a stop is asked for, by the job itself or
// by its host (a flag a signal handler may set). The host's flag, once seen, becomes the job's
// own stop request, so that a run it ends counts as stopped, not as an input that ended. Without
// the callback a source that never delivers, such as a pipe whose writer sends nothing or
// endless garbage, holds the thread that reads it for ever.
#include "engine/frame/LibHeaders.h"

#include <atomic>

namespace kestrova {

struct TInterruptSources {
    std::atomic<bool>* Job = nullptr;         // the job's own stop request; null for a probe
    const std::atomic<bool>* Host = nullptr;  // the host's; null when it has none
    bool Requested();
};

// Installs the callback; `sources` must outlive the context.
void SetInterruptCallback(AVFormatContext& context, TInterruptSources& sources);

}  // namespace kestrova
