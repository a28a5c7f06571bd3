#include "engine/frame/InterruptCheck.h"

namespace kestrova {

namespace {

// Called by the libraries from the reading thread; only reads lock-free flags.
int CheckInterrupt(void* opaque) {
    return static_cast<TInterruptSources*>(opaque)->Requested() ? 1 : 0;
}

}  // namespace

bool TInterruptSources::Requested() {
    if (Host && Host->load()) {
        if (Job) Job->store(true);
        return true;
    }
    return Job && Job->load();
}

void SetInterruptCallback(AVFormatContext& context, TInterruptSources& sources) {
    context.interrupt_callback.callback = CheckInterrupt;
    context.interrupt_callback.opaque = &sources;
}

}  // namespace kestrova
