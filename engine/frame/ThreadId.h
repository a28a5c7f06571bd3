#pragma once
#include <cstdint>

namespace kestrova {

// The operating system's id of the calling thread (as shown by ps/top), for log lines and events.
uint32_t CurrentThreadId();

}  // namespace kestrova
