#include "engine/frame/ThreadId.h"

#include <unistd.h>

namespace kestrova {

uint32_t CurrentThreadId() {
    static thread_local const uint32_t id = static_cast<uint32_t>(::gettid());
    return id;
}

}  // namespace kestrova
