#pragma once
// Only for the core: what the audio output path keeps per output stream during a run (set up in
// run/StreamMapping.cpp, used by audio/AudioOut.cpp): the converter, the fifo of samples waiting
// for a whole encoder frame, and the sample buffers.
#include "engine/frame/LibPtr.h"

#include <cstdint>

namespace kestrova {

struct TAudioOutState {
    // Conversion by the converter is forced (the rates differ, the sync method stretches, or the
    // channel counts differ); otherwise it is used only when the formats differ.
    bool Resample = false;
    ResamplerPtr Resampler;
    int ReformatPair = -6;  // encoder format + 5 * decoder format the converter was made for
    // The decoded sound the converter was made for (rate 0: none yet); a change mid-stream makes
    // it again.
    int InputRate = 0;
    int InputChannels = 0;
    uint64_t InputLayout = 0;   // channel mask of a native layout, else 0
    AudioFifoPtr Fifo;          // samples waiting for a whole encoder frame
    FramePtr ConvertedSamples;  // converter output, grown as needed
    FramePtr EncoderFrame;      // one encoder frame read from the fifo
    FramePtr InputSilence;      // silence put before decoded samples, in their shape
};

}  // namespace kestrova
