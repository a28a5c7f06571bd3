#pragma once
// The files of a queue that two tasks would share: two outputs that are one file (whatever the
// spelling: "dir/./x", "dir//x", a link, a hard link), or an output that is the input of a task.
// Tasks run at once and each writes its outputs from the start, so either would corrupt a file.
#include "tools/cli/QueueCommandLine.h"

namespace kestrova::cli {

// Raises ECommandLine naming both tasks and the file; opens nothing.
void CheckNoSharedFiles(const TQueueCommandLine& command);

}  // namespace kestrova::cli
