#pragma once
// Only for the core: the one lock of every job's preview flags. A host switches the flags from
// its own thread while workers read them before each preview; the lock is held only to read or
// change the flags, never while a picture is converted or shown.
#include <mutex>

namespace kestrova {

std::mutex& PreviewLock();

}  // namespace kestrova
