#pragma once
// One output stream of a clip: its encoder and the muxer stream it writes to.
#include "tools/mediagen/LibSupport.h"

namespace kestrova::mediagen {

class EncodedStream {
public:
    // Finds the encoder by name and adds a stream for it to the muxer.
    EncodedStream(AVFormatContext* muxer, const char* encoderName);

    const AVCodec* Codec() const { return codec_; }
    AVCodecContext* Context() const { return context_.get(); }

    // Opens the encoder with the settings made on Context() (plus private options) and copies
    // its parameters to the stream.
    void Open(AVDictionary** privateOptions);

    // Encodes one frame (nullptr drains the encoder) and writes every packet it gives.
    void Encode(const AVFrame* frame);

private:
    AVFormatContext* muxer_;
    const AVCodec* codec_ = nullptr;
    CodecContextPtr context_;
    AVStream* stream_ = nullptr;
    PacketPtr packet_;
};

} // namespace kestrova::mediagen
