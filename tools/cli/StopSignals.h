#pragma once
// Ctrl+C, SIGTERM and SIGHUP ask the run to stop. The handler only records the request; the
// main thread, which waits for the run, sees it and stops the run after the packet at hand, so
// the outputs are finalised (an MP4 keeps its index). The handler is installed for the life of
// the scope, which the program opens before it opens any file. The handler interrupts what the
// main thread is blocked in (no SA_RESTART): opening a pipe that has no writer gives up at once,
// and the libraries' interrupt callbacks see the flag and give up on a source that never ends.
#include <atomic>
#include <csignal>

namespace kestrova::cli {

class TStopSignals {
public:
    TStopSignals();
    ~TStopSignals();
    TStopSignals(const TStopSignals&) = delete;
    TStopSignals& operator=(const TStopSignals&) = delete;

    // Whether a stop signal has come since the scope was opened.
    static bool Requested();
    // The flag itself, for the engine's interrupt callbacks; it lives as long as the program.
    static const std::atomic<bool>& Flag();

private:
    struct sigaction FPrevious[3];
};

}  // namespace kestrova::cli
