#pragma once
// Where kestrova-cli lies, found from its own invocation name: the media libraries are looked
// for in a "LibAV" folder beside it.
#include <string>

namespace kestrova::cli {

// The folder of the program started as `invocationName` (argv[0]): a name with a folder part
// is taken as it is, a bare name is looked up along PATH. Empty when it cannot be found.
std::string ProgramFolderOf(const std::string& invocationName, const char* searchPath);

// "<folder>/LibAV" when that folder exists, else empty (the system's libraries).
std::string MediaLibraryFolder(const std::string& programFolder);

} // namespace kestrova::cli
