#pragma once
// The profile mode of kestrova-cli (ProfileCommandLine.h): lists the profiles, or converts the
// inputs through one profile on the engine component. Builds without Qt have no profile store
// and say so.
#include "tools/cli/ProfileCommandLine.h"

#include <string>
#include <vector>

namespace kestrova::cli {

// The exit code: 0 when the listing was printed or every task finished, 1 when a task failed,
// was stopped or could not be set up (an input that does not open, a profile file that cannot
// be used), 2 for a command line it refuses (an unknown profile or parameter, a missing output
// folder). The profiles are found where the windows find them (ProgramStorePaths).
int RunProfileMode(const std::vector<std::string>& arguments);

}  // namespace kestrova::cli
