#pragma once
// The byte statistics logged at the end of a run.
#include "engine/core/Job.h"

#include <string>

namespace kestrova {

// "video:%1.0fkB audio:%1.0fkB global headers:%1.0fkB muxing overhead %f%%": the encoded
// (or copied) bytes per kind, the encoders' extra data, and how much the container added to
// them in `totalSize` bytes written. When nothing was encoded the overhead is "unknown". No line
// end: the logger ends every line itself.
std::string RunStatisticsLine(const TRunStatistics& statistics, int64_t totalSize);

}  // namespace kestrova
