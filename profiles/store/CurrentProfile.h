#pragma once
#include "profiles/store/ProfileEntry.h"

namespace kestrova {

// The profile chosen last, shared by the picker and every options dialog of the process.
// Empty at start; the store's Save As, Rename, Delete and recent list work on it.
TProfileEntry& CurrentProfile();

}  // namespace kestrova
