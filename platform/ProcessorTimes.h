#pragma once
#include <cstdint>
#include <vector>

namespace kestrova::platform {

// The processor time counters of one instance (one processor, or all of them together), in
// the system's clock ticks since boot: how many were spent busy and how many in all.
struct TProcessorTicks {
    uint64_t Busy = 0;
    uint64_t Total = 0;
};

// The system's processor time counters: one instance per processor, then the total of all
// processors as the last instance.
class TProcessorTimes {
public:
    virtual ~TProcessorTimes() = default;

    // Fills `instances` (its storage is reused from one sample to the next). Throws
    // std::runtime_error when the counters cannot be read.
    virtual void Sample(std::vector<TProcessorTicks>& instances) = 0;
};

}  // namespace kestrova::platform
