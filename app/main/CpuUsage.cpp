#include "app/main/CpuUsage.h"

#include "platform/Services.h"

#include <algorithm>
#include <stdexcept>

namespace kestrova {

TCpuUsage::TCpuUsage() = default;

TCpuUsage::TCpuUsage(platform::TProcessorTimes& times) : FTimes(&times) {}

platform::TProcessorTimes& TCpuUsage::Times() {
    return FTimes ? *FTimes : platform::Use<platform::TProcessorTimes>();
}

void TCpuUsage::Collect() {
    // A failed sample leaves the last two as they were, for the next one to compare with.
    Times().Sample(FSample);
    FPrevious.swap(FCurrent);
    FCurrent.swap(FSample);
    const int count = static_cast<int>(FCurrent.size());
    if (count != FInstanceCount) {
        // First sample, or processors came or went: nothing earlier to compare with.
        FInstanceCount = count;
        FPrevious.assign(FCurrent.size(), platform::TProcessorTicks{});
    }
}

int TCpuUsage::InstanceCount() {
    if (FInstanceCount < 0) Collect();
    return FInstanceCount;
}

double TCpuUsage::Usage(int instance) {
    if (instance < 0 || instance >= InstanceCount()) throw std::out_of_range("CPU index out of bounds");
    const platform::TProcessorTicks& now = FCurrent[static_cast<std::size_t>(instance)];
    const platform::TProcessorTicks& before = FPrevious[static_cast<std::size_t>(instance)];
    if (now.Total <= before.Total) return 0.0;
    const double busy = now.Busy >= before.Busy ? static_cast<double>(now.Busy - before.Busy) : 0.0;
    // Counters the kernel may step back (the I/O wait) can leave busy above the total.
    return std::clamp(busy / static_cast<double>(now.Total - before.Total), 0.0, 1.0);
}

QString CpuMeterText(double usage) {
    return QString::asprintf("CPU:%5.0f%%", usage * 100.0);
}

}  // namespace kestrova
