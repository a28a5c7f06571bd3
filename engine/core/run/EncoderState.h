#pragma once
// Only for the core: what the run keeps of an output stream's encoder (opened and closed in
// run/CodecOpening.cpp, fed in run/EncodedPackets.cpp). In join mode the streams of later
// segments share the encoder of the first segment's stream, and the state of that first
// stream's record stands for all of them (TCustomFFmpeg::EncoderOwner).
#include "engine/core/run/TwoPassLog.h"
#include "engine/frame/LibPtr.h"

#include <cstdint>
#include <string>

namespace kestrova {

struct TEncoderState {
    bool Open = false;
    AVCodecID SavedId = AV_CODEC_ID_NONE;  // to find the encoder again when it is re-opened
    TwoPassLogPtr PassLog;                 // pass 1: statistics are written here
    std::string StatsIn;                   // pass 2: statistics handed to the encoder
    PacketPtr Packet;                      // encoded packets, one after another
    // What the encoder said of its last packet: quantiser (lambda units, -1 unknown), picture
    // type and the squared errors per plane (with the PSNR flag).
    int CodedQuality = -1;
    int CodedPictureType = AV_PICTURE_TYPE_NONE;
    int64_t CodedError[4] = {0, 0, 0, 0};
};

}  // namespace kestrova
