#pragma once
// One option of the command line applied to a job with the checks the engine itself leaves to
// its host: a name that neither the engine's option table nor any library option knows is an
// error here (the engine ignores it), and so is a value a library refuses (the engine logs
// "Invalid value" and goes on without it).
#include "tools/cli/LogWatch.h"

#include <string>

namespace kestrova {
class TCustomFFmpeg;
}

namespace kestrova::cli {

// Whether the engine's own option table has that name.
bool IsEngineOption(const std::string& name);

// Applies the option. Raises ECommandLine with "Unrecognized option '-<name>'" for an unknown
// name and with the reason for a refused value. `watch` must see every log line.
void ApplyCheckedOption(TCustomFFmpeg& job, const std::string& name, const std::string& value,
                        const TLogWatch& watch);

}  // namespace kestrova::cli
