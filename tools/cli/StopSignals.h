#pragma once
// Ctrl+C, SIGTERM and SIGHUP ask the run to stop. The handler only records the request; the
// main thread, which waits for the run, sees it and stops the run after the packet at hand, so
// the outputs are finalised (an MP4 keeps its index). The handler is installed for the life of
// the scope, which the program opens before it opens any file.
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

private:
    struct sigaction FPrevious[3];
};

}  // namespace kestrova::cli
