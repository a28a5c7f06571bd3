#include "engine/core/run/JobStatistics.h"

#include "engine/frame/Text.h"

namespace kestrova {

std::string RunStatisticsLine(const TRunStatistics& statistics, int64_t totalSize) {
    const auto kilobytes = [](int64_t bytes) { return static_cast<double>(bytes) / 1024; };
    const int64_t raw = statistics.VideoSize + statistics.AudioSize + statistics.ExtraSize;
    std::string line = FormatText("video:%1.0fkB audio:%1.0fkB global headers:%1.0fkB muxing overhead ",
                                  kilobytes(statistics.VideoSize), kilobytes(statistics.AudioSize),
                                  kilobytes(statistics.ExtraSize));
    // Nothing encoded: there is nothing the overhead could be a share of.
    line += raw > 0 ? FormatText("%f%%",
                                 static_cast<double>(totalSize - raw) * 100 / static_cast<double>(raw))
                    : std::string("unknown");
    return line;
}

}  // namespace kestrova
