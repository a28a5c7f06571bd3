#pragma once
// The program's own folder as the engine uses it (for files it names itself, such as the
// video statistics file). The host sets it at start-up; until then it is the current folder.
#include <string>

namespace kestrova {

// Stored with a trailing separator.
void SetEngineProgramFolder(const std::string& folder);
// With a trailing separator; "./" until a host has set it.
std::string EngineProgramFolder();

}  // namespace kestrova
