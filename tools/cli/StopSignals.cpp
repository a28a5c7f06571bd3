#include "tools/cli/StopSignals.h"

#include <atomic>
#include <iterator>

namespace kestrova::cli {

namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

// All a signal handler may do here: store to a lock-free atomic.
std::atomic<bool> stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void NoteStopSignal(int) {
    stopRequested = true;
}

}  // namespace

TStopSignals::TStopSignals() {
    stopRequested = false;
    struct sigaction action {};
    action.sa_handler = NoteStopSignal;
    action.sa_flags = 0;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i)
        sigaction(kStopSignals[i], &action, &FPrevious[i]);
}

TStopSignals::~TStopSignals() {
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i)
        sigaction(kStopSignals[i], &FPrevious[i], nullptr);
}

bool TStopSignals::Requested() {
    return stopRequested;
}

const std::atomic<bool>& TStopSignals::Flag() {
    return stopRequested;
}

}  // namespace kestrova::cli
