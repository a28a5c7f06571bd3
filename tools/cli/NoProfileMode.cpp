// The profile mode of a build without Qt, which has no profile store.
#include "tools/cli/ProfileMode.h"

#include <cstdio>

namespace kestrova::cli {

int RunProfileMode(const std::vector<std::string>&) {
    std::fputs(
            "kestrova-cli: this build has no profile store (it was built without Qt): --profile and --list "
            "are not available\n",
            stderr);
    return 2;
}

}  // namespace kestrova::cli
