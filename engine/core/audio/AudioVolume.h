#pragma once
// The "vol" setting applied to decoded samples: 256 leaves them unchanged, 512 doubles them.
#include "engine/frame/LibBindings.h"

namespace kestrova {

// Scales every sample of a writable decoded frame by volume / 256. Integer samples round the
// way the 16-bit rule does ((sample * volume + 128) >> 8) and are clipped to their range.
void ApplyVolume(AVFrame& frame, int volume);

// The 16-bit rule for one sample.
int16_t ScaledSample(int16_t sample, int volume);

}  // namespace kestrova
