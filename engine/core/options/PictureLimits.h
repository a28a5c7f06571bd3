#pragma once
// The largest picture side, band or pad the options take: beyond what any encoder accepts, and
// small enough that sizes, bands and pads added together stay far from the integer limits.

namespace kestrova {

inline constexpr int kMaxPictureSide = 16384;

}  // namespace kestrova
