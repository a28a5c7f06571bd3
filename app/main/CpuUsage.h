#pragma once
// The processor load of the main window's meter: two consecutive samples of the system's
// processor time counters give the busy share of the interval between them, per instance
// (each processor, then all of them together as the last instance).
#include "platform/ProcessorTimes.h"

#include <QString>

#include <vector>

namespace kestrova {

class TCpuUsage {
public:
    // Samples through the platform's processor times service.
    TCpuUsage();
    // Samples through `times` (tests hand in recorded samples); it must outlive this object.
    explicit TCpuUsage(platform::TProcessorTimes& times);

    // Takes a new sample. Throws std::runtime_error when the counters cannot be read.
    void Collect();
    // Collects first when no sample was taken yet.
    int InstanceCount();
    // The busy share, clamped to 0..1, of instance i between the last two samples; 0 when no time passed.
    // Throws std::out_of_range "CPU index out of bounds" for any other index.
    double Usage(int instance);

private:
    platform::TProcessorTimes& Times();

    platform::TProcessorTimes* FTimes = nullptr;  // null: the platform's service
    int FInstanceCount = -1;
    std::vector<platform::TProcessorTicks> FCurrent;
    std::vector<platform::TProcessorTicks> FPrevious;
    std::vector<platform::TProcessorTicks> FSample;  // kept, so that sampling does not allocate
};

// "CPU:" and the load in percent in a five-character field without decimals, then "%".
QString CpuMeterText(double usage);

}  // namespace kestrova
