#pragma once
// What the engine's own picture routines can work on.
#include "engine/frame/LibHeaders.h"

namespace kestrova {

// Planar 8-bit YUV (or grey): every plane one byte per sample, so planes can be filled and
// filtered line by line.
bool IsPlanarYuv8(const AVPixFmtDescriptor& desc);

}  // namespace kestrova
