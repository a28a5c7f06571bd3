#pragma once
// What encoders report of each packet (quantiser, picture type, plane errors), and the quantiser
// histogram that every job of the process adds to.
#include "engine/core/run/EncoderState.h"

#include <string>

namespace kestrova {

// Takes the quality statistics the encoder attached to `packet` into the encoder's state; a
// packet without them leaves the state as it was.
void TakeQualityStats(TEncoderState& encoder, const AVPacket& packet);

// The quantiser histogram (52 counters, shared by the whole process and never cleared): one more
// for `quantiser` when it lies from 0 to 51.
void CountQuantiser(int quantiser);
// The first 32 counters as one hexadecimal digit each: the rounded base-2 logarithm of count + 1.
std::string QuantiserHistogramText();

}  // namespace kestrova
