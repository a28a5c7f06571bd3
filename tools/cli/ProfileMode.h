#pragma once
// The profile mode of kestrova-cli (ProfileCommandLine.h): lists the profiles, or converts the
// inputs through one profile on the engine component. Builds without Qt have no profile store
// and say so.
#include "tools/cli/ProfileCommandLine.h"

#include <string>
#include <vector>

namespace kestrova::cli {

// The exit code: 0 when the listing was printed or every task finished, 1 when a task failed,
// was stopped or could not be set up (an input that does not open, an output that cannot be
// made; the other tasks run), 2 for a command line it refuses before anything is converted (an
// unknown profile or parameter, a value the parameter cannot take, a profile file that cannot be
// used, an output folder that is missing, not a folder or not writable). The profiles are found
// where the windows find them (ProgramStorePaths).
int RunProfileMode(const std::vector<std::string>& arguments);

}  // namespace kestrova::cli
