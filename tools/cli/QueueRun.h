#pragma once
// Runs the tasks of a queue command line on the engine component, N at a time. A stop signal
// stops every task after the packet at hand (outputs complete) and waits for the final notice.
#include "tools/cli/QueueCommandLine.h"

#include <string>

namespace kestrova::cli {

// The exit code: 0 when every task finished, 1 otherwise (a task that cannot be set up fails
// alone, the others run), 2 for an option no library knows, a value one refuses, an existing
// output of a task without its own "-y 1", or a file two tasks would share; nothing is opened
// for writing then. An output replacing a file takes its place only when its task finished.
// `libraryFolder`: where the media libraries are looked for first (empty: the system's).
int RunQueue(const TQueueCommandLine& command, const std::string& libraryFolder);

}  // namespace kestrova::cli
