#include "tools/mediagen/EncodedStream.h"

#include <stdexcept>
#include <string>

namespace kestrova::mediagen {

TEncodedStream::TEncodedStream(AVFormatContext* muxer, const char* encoderName) : FMuxer(muxer) {
    FCodec = avcodec_find_encoder_by_name(encoderName);
    if (!FCodec) throw std::runtime_error(std::string("the encoder ") + encoderName + " is not available");
    FStream = CheckAlloc(avformat_new_stream(FMuxer, nullptr));
    FPacket.reset(CheckAlloc(av_packet_alloc()));
    CreateContext();
}

void TEncodedStream::CreateContext() {
    FContext.reset(CheckAlloc(avcodec_alloc_context3(FCodec)));
    // Same arguments, same bytes: no encoder version strings or other variable data.
    FContext->flags |= AV_CODEC_FLAG_BITEXACT;
    if (FMuxer->oformat->flags & AVFMT_GLOBALHEADER) FContext->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
}

void TEncodedStream::Restart() {
    Encode(nullptr);
    CreateContext();
    FRestarted = true;
    FAlignAfterRestart = true;
}

void TEncodedStream::Open(AVDictionary** privateOptions) {
    CheckLib(avcodec_open2(FContext.get(), FCodec, privateOptions),
             std::string("could not open the encoder ") + FCodec->name);
    if (FRestarted) return;  // the header is written: the stream keeps what it announced
    CheckLib(avcodec_parameters_from_context(FStream->codecpar, FContext.get()),
             "could not copy the encoder parameters");
    FStream->time_base = FContext->time_base;
    if (FContext->codec_type == AVMEDIA_TYPE_VIDEO) FStream->avg_frame_rate = FContext->framerate;
}

void TEncodedStream::Encode(const AVFrame* frame) {
    const std::string what = std::string("encoding with ") + FCodec->name;
    CheckLib(avcodec_send_frame(FContext.get(), frame), what);
    for (;;) {
        const int received = avcodec_receive_packet(FContext.get(), FPacket.get());
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) return;
        CheckLib(received, what);
        av_packet_rescale_ts(FPacket.get(), FContext->time_base, FStream->time_base);
        if (FAlignAfterRestart && FPacket->dts != AV_NOPTS_VALUE) {
            FAlignAfterRestart = false;
            if (FLastDts != AV_NOPTS_VALUE && FPacket->dts <= FLastDts) FShift = FLastDts + 1 - FPacket->dts;
        }
        if (FPacket->pts != AV_NOPTS_VALUE) FPacket->pts += FShift;
        if (FPacket->dts != AV_NOPTS_VALUE) FPacket->dts += FShift;
        if (FPacket->dts != AV_NOPTS_VALUE) FLastDts = FPacket->dts;
        FPacket->stream_index = FStream->index;
        // The muxer takes the packet's data over and leaves the packet blank.
        CheckLib(av_interleaved_write_frame(FMuxer, FPacket.get()), "writing a packet");
    }
}

}  // namespace kestrova::mediagen
