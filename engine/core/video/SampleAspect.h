#pragma once
// The sample aspect ratio of an output picture from the pending frame aspect ratio.
#include "engine/frame/LibHeaders.h"

namespace kestrova {

// `x` as a fraction whose numerator and denominator are at most 255 (the nearest such
// fraction; 0 gives 0/1).
AVRational AspectFraction(double x);

// The sample aspect ratio for a picture of width x height shown at `frameAspect` (width /
// height of the whole picture): frameAspect * height / width, or frameAspect * 3 / 4 when the
// size is not known. A frame aspect of 0 (unset) gives 0/1 (unknown).
AVRational SampleAspectRatio(double frameAspect, int width, int height);

}  // namespace kestrova
