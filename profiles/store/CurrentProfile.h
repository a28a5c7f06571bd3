#pragma once
#include "profiles/store/ProfileEntry.h"

namespace kestrova {

// The profile chosen last, shared by the picker and every options dialog of the process: the
// picker sets it to the profile it has just put into a dialog's combo. Empty at start. Store
// operations never work on it, since another dialog may have changed it since: a dialog's Save
// As, Rename, Delete and recent list work on the profile that dialog shows.
TProfileEntry& CurrentProfile();

}  // namespace kestrova
