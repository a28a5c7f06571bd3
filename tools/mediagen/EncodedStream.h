#pragma once
// One output stream of a clip: its encoder and the muxer stream it writes to.
#include "tools/mediagen/LibSupport.h"

namespace kestrova::mediagen {

class TEncodedStream {
public:
    // Finds the encoder by name and adds a stream for it to the muxer.
    TEncodedStream(AVFormatContext* muxer, const char* encoderName);

    const AVCodec* Codec() const { return FCodec; }
    AVCodecContext* Context() const { return FContext.get(); }

    // Opens the encoder with the settings made on Context() (plus private options) and copies
    // its parameters to the stream.
    void Open(AVDictionary** privateOptions);

    // Encodes one frame (nullptr drains the encoder) and writes every packet it gives.
    void Encode(const AVFrame* frame);

    // Drains the encoder and starts a fresh one on the same muxer stream: the settings made on
    // Context() and opened with Open() apply from the next frame on, while the stream keeps the
    // parameters of the first encoder (a mid-stream change the decoder finds in the packets).
    void Restart();

private:
    void CreateContext();

    AVFormatContext* FMuxer;
    const AVCodec* FCodec = nullptr;
    CodecContextPtr FContext;
    AVStream* FStream = nullptr;
    PacketPtr FPacket;
    bool FRestarted = false;
    // After a restart the new encoder's packets are moved past the last one written: the old
    // encoder's delay may have carried it beyond the change.
    bool FAlignAfterRestart = false;
    int64_t FLastDts = AV_NOPTS_VALUE;
    int64_t FShift = 0;
};

}  // namespace kestrova::mediagen
