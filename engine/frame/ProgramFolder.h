#pragma once
// The program folder: the folder of the running executable. A build or portable folder holds the
// program's data and the user's files there; where an installed program finds them is decided
// from it (ProgramLayout.h).
#include <string>

namespace kestrova {

// With a trailing separator. Found once from the kernel's link to the running executable; "./"
// (the current folder) when that cannot be read.
std::string ProgramFolder();

}  // namespace kestrova
