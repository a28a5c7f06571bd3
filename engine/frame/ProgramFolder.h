#pragma once
// The program folder: the folder of the running executable. The program's data lies there
// (LibAV, profiles, skin, vhook, Setting.ini), and the engine puts the files it names itself
// there (the video statistics file). The one place every part of the program finds it.
#include <string>

namespace kestrova {

// With a trailing separator. Found once from the kernel's link to the running executable; "./"
// (the current folder) when that cannot be read.
std::string ProgramFolder();

}  // namespace kestrova
