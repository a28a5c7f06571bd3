#pragma once
// The largest times the time options take, so that the run's time arithmetic (offsets, start
// times and the inputs' own start times added together, frame counts at the output's rate)
// stays far from the integer limits.
#include <cstdint>

namespace kestrova {

// 2^31 - 1 milliseconds (about 24.8 days), in microseconds: where the 31-bit millisecond
// timestamps of FLV, and the 32-bit ones of other containers, end.
inline constexpr int64_t kMaxTimeValue = INT64_C(2147483647) * 1000;
inline constexpr double kMaxTimeSeconds = 2147483.647;

// The muxer keeps its largest delay as a 32-bit count of microseconds.
inline constexpr double kMaxMuxDelaySeconds = 2147.483647;

}  // namespace kestrova
