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

private:
    AVFormatContext* FMuxer;
    const AVCodec* FCodec = nullptr;
    CodecContextPtr FContext;
    AVStream* FStream = nullptr;
    PacketPtr FPacket;
};

}  // namespace kestrova::mediagen
