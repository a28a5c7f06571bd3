#pragma once
// Runs the tasks of a queue command line on the engine component, N at a time. A stop signal
// stops every task after the packet at hand (outputs complete) and waits for the final notice.
#include "tools/cli/QueueCommandLine.h"

#include <string>

namespace kestrova::cli {

// The exit code: 0 when every task finished, 1 otherwise (a task that could not be set up
// stops the whole queue before anything runs), 2 for an option no library knows, a value one
// refuses, or an existing output without `overwrite`. `libraryFolder`: where the media
// libraries are looked for first (empty: the system's).
int RunQueue(const TQueueCommandLine& command, bool overwrite, const std::string& libraryFolder);

}  // namespace kestrova::cli
