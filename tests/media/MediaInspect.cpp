#include "tests/media/MediaInspect.h"

#include "tests/support/TestMedia.h"

#include <cmath>
#include <limits>

namespace kestrova::mediatest {

namespace {

struct CodecFree {
    void operator()(AVCodecContext* p) const { avcodec_free_context(&p); }
};
struct FrameFree {
    void operator()(AVFrame* p) const { av_frame_free(&p); }
};
struct PacketFree {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
using CodecPtr = std::unique_ptr<AVCodecContext, CodecFree>;
using FramePtr = std::unique_ptr<AVFrame, FrameFree>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFree>;

CodecPtr OpenDecoder(const AVStream* stream) {
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec) return nullptr;
    CodecPtr context(avcodec_alloc_context3(codec));
    if (!context || avcodec_parameters_to_context(context.get(), stream->codecpar) < 0) return nullptr;
    context->pkt_timebase = stream->time_base;
    if (avcodec_open2(context.get(), codec, nullptr) < 0) return nullptr;
    return context;
}

float SampleAsFloat(const AVFrame* frame, int channel, int index) {
    const auto format = static_cast<AVSampleFormat>(frame->format);
    const bool planar = av_sample_fmt_is_planar(format);
    const int channels = frame->ch_layout.nb_channels;
    const uint8_t* base = frame->extended_data[planar ? channel : 0];
    const int at = planar ? index : index * channels + channel;
    switch (av_get_packed_sample_fmt(format)) {
        case AV_SAMPLE_FMT_S16:
            return reinterpret_cast<const int16_t*>(base)[at] / 32768.0f;
        case AV_SAMPLE_FMT_S32:
            return static_cast<float>(reinterpret_cast<const int32_t*>(base)[at] / 2147483648.0);
        case AV_SAMPLE_FMT_FLT:
            return reinterpret_cast<const float*>(base)[at];
        case AV_SAMPLE_FMT_DBL:
            return static_cast<float>(reinterpret_cast<const double*>(base)[at]);
        default:
            return std::numeric_limits<float>::quiet_NaN();
    }
}

class TStreamDecoder {
public:
    TStreamDecoder(const AVStream* stream, TDecodedMedia& out) : FStream(stream), FOut(out) {
        if (FStream) {
            FContext = OpenDecoder(FStream);
            if (!FContext) ++FOut.DecodeErrors;
        }
    }
    bool Owns(const AVPacket* packet) const { return FContext && packet->stream_index == FStream->index; }
    void Send(const AVPacket* packet) {
        if (!FContext) return;
        if (avcodec_send_packet(FContext.get(), packet) < 0) ++FOut.DecodeErrors;
        for (;;) {
            const int got = avcodec_receive_frame(FContext.get(), FFrame.get());
            if (got == AVERROR(EAGAIN) || got == AVERROR_EOF) return;
            if (got < 0) {
                ++FOut.DecodeErrors;
                return;
            }
            Keep(FFrame.get());
            av_frame_unref(FFrame.get());
        }
    }

private:
    void Keep(const AVFrame* frame) {
        if (FContext->codec_type == AVMEDIA_TYPE_VIDEO) {
            FOut.FrameNumbers.push_back(testmedia::FrameNumberFromPicture(frame->data[0], frame->linesize[0],
                                                                          frame->width, frame->height));
            return;
        }
        const int channels = frame->ch_layout.nb_channels;
        if (FOut.Channels.size() < static_cast<size_t>(channels)) FOut.Channels.resize(channels);
        if (FOut.FirstAudioTime < 0.0 && frame->pts != AV_NOPTS_VALUE)
            FOut.FirstAudioTime = static_cast<double>(frame->pts) * av_q2d(FStream->time_base);
        for (int c = 0; c < channels; ++c)
            for (int i = 0; i < frame->nb_samples; ++i)
                FOut.Channels[c].push_back(SampleAsFloat(frame, c, i));
    }

    const AVStream* FStream;
    TDecodedMedia& FOut;
    CodecPtr FContext;
    FramePtr FFrame{av_frame_alloc()};
};

}  // namespace

std::string ErrorText(int error) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(error, text, sizeof text);
    return text;
}

InputPtr OpenMedia(const std::string& path, int* error) {
    // Damaged clips make the libraries complain at length; the tests check the results.
    static const bool quiet = [] {
        av_log_set_level(AV_LOG_FATAL);
        return true;
    }();
    (void)quiet;
    AVFormatContext* raw = nullptr;
    *error = avformat_open_input(&raw, path.c_str(), nullptr, nullptr);
    if (*error < 0) return nullptr;  // the library has freed the context
    InputPtr input(raw);
    *error = avformat_find_stream_info(input.get(), nullptr);
    if (*error < 0) return nullptr;
    *error = 0;
    return input;
}

const AVStream* FindStream(const AVFormatContext* input, AVMediaType type) {
    for (unsigned i = 0; i < input->nb_streams; ++i)
        if (input->streams[i]->codecpar->codec_type == type) return input->streams[i];
    return nullptr;
}

double StreamStart(const AVStream* stream) {
    if (!stream || stream->start_time == AV_NOPTS_VALUE) return std::nan("");
    return static_cast<double>(stream->start_time) * av_q2d(stream->time_base);
}

TDecodedMedia DecodeAll(AVFormatContext* input) {
    TDecodedMedia out;
    TStreamDecoder video(FindStream(input, AVMEDIA_TYPE_VIDEO), out);
    TStreamDecoder audio(FindStream(input, AVMEDIA_TYPE_AUDIO), out);
    PacketPtr packet(av_packet_alloc());
    for (;;) {
        const int read = av_read_frame(input, packet.get());
        if (read == AVERROR_EOF) break;
        if (read < 0) {
            ++out.DecodeErrors;
            break;
        }
        if (video.Owns(packet.get()))
            video.Send(packet.get());
        else if (audio.Owns(packet.get()))
            audio.Send(packet.get());
        av_packet_unref(packet.get());
    }
    video.Send(nullptr);
    audio.Send(nullptr);
    return out;
}

}  // namespace kestrova::mediatest
