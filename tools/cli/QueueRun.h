#pragma once
// Runs the tasks of a queue command line on the engine component, N at a time. Ctrl+C stops
// every task after the packet at hand (outputs complete) and waits for the final notice.
#include "tools/cli/QueueCommandLine.h"

#include <string>

namespace kestrova::cli {

// The exit code: 0 when every task finished, 1 otherwise (a task that could not be set up
// stops the whole queue before anything runs). `libraryFolder`: where the media libraries are
// looked for first (empty: the system's).
int RunQueue(const TQueueCommandLine& command, const std::string& libraryFolder);

}  // namespace kestrova::cli
