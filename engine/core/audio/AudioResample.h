#pragma once
// The converter of an audio output stream: channel layout, sample rate and sample format of the
// decoded samples to those of the encoder, in one library context.
#include "engine/core/audio/AudioOutState.h"

namespace kestrova {

// Only for the core. Makes the stream's converter (in `audio`) from samples shaped like `samples`
// to the `encoder`'s when it has none yet, or when the decoder's sample format, rate or channel
// layout changed since it was made. `stretchable`: the converter must accept
// drift compensation even at equal rates. Raises "Can not resample %d channels @ %d Hz to %d
// channels @ %d Hz" (or "Cannot convert %s sample format to %s sample format" for a pure format
// change) when the library refuses.
SwrContext& ResamplerFor(TAudioOutState& audio, const AVCodecContext& encoder, const AVFrame& samples,
                         bool stretchable);

// True when `samples` have another rate or channel layout than the sound the stream's converter
// was made for (never before the first converter).
bool SoundChanged(const TAudioOutState& audio, const AVFrame& samples);

// True when the decoded samples can go to the encoder only through a converter.
bool NeedsConversion(const AVFrame& samples, const AVCodecContext& encoder);

// Raises "Buffer sizes too large in do_audio_out" when `samples` decoded samples could not be
// held, once converted, in buffers of 32-bit signed size.
void CheckAudioBufferSizes(const AVFrame& samples, const AVCodecContext& encoder);

}  // namespace kestrova
