#pragma once
// Sample buffers of an audio output stream.
#include "engine/frame/LibPtr.h"

namespace kestrova {

// `frame`, allocated at first use and grown (never shrunk) to hold at least `samples` samples
// in the encoder's sample format, rate and layout.
AVFrame& GrowSampleFrame(FramePtr& frame, const AVCodecContext& encoder, int samples);

// `frame` shaped like the decoded `samples` (format, rate, layout), holding `count` samples of
// silence from its start; made again when their format or channel count changed, otherwise only
// grown.
AVFrame& SilenceLike(FramePtr& frame, const AVFrame& samples, int count);

}  // namespace kestrova
