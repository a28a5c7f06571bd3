#pragma once
// Sample buffers of an audio output stream, in the encoder's format.
#include "engine/frame/LibPtr.h"

namespace kestrova {

// `frame`, allocated at first use and grown (never shrunk) to hold at least `samples` samples
// in the encoder's sample format, rate and layout.
AVFrame& GrowSampleFrame(FramePtr& frame, const AVCodecContext& encoder, int samples);

}  // namespace kestrova
