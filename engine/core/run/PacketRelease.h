#pragma once
// Gives a packet's buffer back to the library whichever way its handling ends, so that the
// packet itself can be reused for the next read.
#include "engine/frame/LibBindings.h"

namespace kestrova {

struct TPacketRelease {
    AVPacket* Packet;
    ~TPacketRelease() { ff::av_packet_unref(Packet); }
};

}  // namespace kestrova
