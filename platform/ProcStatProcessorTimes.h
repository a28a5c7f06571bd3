#pragma once
#include "platform/ProcessorTimes.h"

#include <string>
#include <string_view>

namespace kestrova::platform {

// The kernel's counters in /proc/stat: the "cpuN" lines give the instances, the "cpu" line
// (all processors) is put last. Busy time is everything but idle and I/O wait.
class TProcStatProcessorTimes : public TProcessorTimes {
public:
    TProcStatProcessorTimes() = default;
    // Reads another file of the same layout (tests use recorded samples).
    explicit TProcStatProcessorTimes(std::string path);

    void Sample(std::vector<TProcessorTicks>& instances) override;

private:
    std::string FPath = "/proc/stat";
    std::string FText;  // the file's text; its storage only grows
};

// The instances of a /proc/stat text, the total last. Throws std::runtime_error when the
// text has no "cpu" line.
void ParseProcStat(std::string_view text, std::vector<TProcessorTicks>& instances);

}  // namespace kestrova::platform
