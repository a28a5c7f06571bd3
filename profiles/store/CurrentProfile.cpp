#include "profiles/store/CurrentProfile.h"

namespace kestrova {

TProfileEntry& CurrentProfile() {
    static TProfileEntry current;
    return current;
}

}  // namespace kestrova
