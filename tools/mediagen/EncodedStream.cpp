#include "tools/mediagen/EncodedStream.h"

#include <stdexcept>
#include <string>

namespace kestrova::mediagen {

EncodedStream::EncodedStream(AVFormatContext* muxer, const char* encoderName) : muxer_(muxer) {
    codec_ = avcodec_find_encoder_by_name(encoderName);
    if (!codec_) throw std::runtime_error(std::string("the encoder ") + encoderName + " is not available");
    context_.reset(CheckAlloc(avcodec_alloc_context3(codec_)));
    stream_ = CheckAlloc(avformat_new_stream(muxer_, nullptr));
    packet_.reset(CheckAlloc(av_packet_alloc()));
    // Same arguments, same bytes: no encoder version strings or other variable data.
    context_->flags |= AV_CODEC_FLAG_BITEXACT;
    if (muxer_->oformat->flags & AVFMT_GLOBALHEADER) context_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
}

void EncodedStream::Open(AVDictionary** privateOptions) {
    CheckLib(avcodec_open2(context_.get(), codec_, privateOptions),
             std::string("could not open the encoder ") + codec_->name);
    CheckLib(avcodec_parameters_from_context(stream_->codecpar, context_.get()),
             "could not copy the encoder parameters");
    stream_->time_base = context_->time_base;
    if (context_->codec_type == AVMEDIA_TYPE_VIDEO) stream_->avg_frame_rate = context_->framerate;
}

void EncodedStream::Encode(const AVFrame* frame) {
    const std::string what = std::string("encoding with ") + codec_->name;
    CheckLib(avcodec_send_frame(context_.get(), frame), what);
    for (;;) {
        const int received = avcodec_receive_packet(context_.get(), packet_.get());
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) return;
        CheckLib(received, what);
        av_packet_rescale_ts(packet_.get(), context_->time_base, stream_->time_base);
        packet_->stream_index = stream_->index;
        // The muxer takes the packet's data over and leaves the packet blank.
        CheckLib(av_interleaved_write_frame(muxer_, packet_.get()), "writing a packet");
    }
}

} // namespace kestrova::mediagen
