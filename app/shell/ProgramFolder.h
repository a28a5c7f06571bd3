#pragma once
#include <QString>

namespace kestrova {

// The folder of the running executable, with a trailing separator. The program's data
// (profiles, skin, vhook, LibAV, Setting.ini) lives here.
QString ProgramFolder();

} // namespace kestrova
