#pragma once
// Only for the core: how decoded samples, and silence put before them, reach the fifo of an audio
// output stream in the encoder's layout, rate and format.
#include "engine/core/run/RunTables.h"

namespace kestrova {

// Puts `silence` samples of silence (counted at the decoded rate), then `samples` from sample
// `skipped` on, into the stream's fifo: through `resampler` when there is one (null: the samples
// are in the encoder's shape already). The silence goes through the converter like the samples,
// so that it comes out after the samples the converter still holds back. False when the converter
// refused them; raises "av_fifo_realloc2() failed" when the fifo cannot grow.
bool QueueDecodedSamples(OutputStreamState& ost, SwrContext* resampler, const AVFrame& samples, int skipped,
                         int silence);

// Appends `count` samples in the encoder's shape to the stream's fifo.
void AppendToFifo(OutputStreamState& ost, uint8_t* const* data, int count);

}  // namespace kestrova
