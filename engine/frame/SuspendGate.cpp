#include "engine/frame/SuspendGate.h"

namespace kestrova {

void TSuspendGate::Close() {
    std::lock_guard lock(FLock);
    FClosed = true;
}

void TSuspendGate::Open() {
    {
        std::lock_guard lock(FLock);
        FClosed = false;
    }
    FOpened.notify_all();
}

bool TSuspendGate::IsClosed() const {
    std::lock_guard lock(FLock);
    return FClosed;
}

void TSuspendGate::Pass() {
    std::unique_lock lock(FLock);
    FOpened.wait(lock, [this] { return !FClosed; });
}

}  // namespace kestrova
