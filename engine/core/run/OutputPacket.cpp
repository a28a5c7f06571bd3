// OutputPacket: one input packet (or, without one, the end of the stream) goes to every output
// stream it feeds, copied as it is or decoded and handed to the output paths; at the end of the
// stream the decoder and the encoders it feeds are drained.
#include "engine/core/CustomFFmpeg.h"

#include "engine/core/FFmpegException.h"
#include "engine/core/audio/AudioVolume.h"
#include "engine/core/run/RunTables.h"
#include "engine/frame/FFmpegLogger.h"
#include "engine/frame/Text.h"

namespace kestrova {

namespace {

// Frees a decoded subtitle whichever way its handling ends.
struct TSubtitleRelease {
    AVSubtitle* Subtitle;
    ~TSubtitleRelease() { ff::avsubtitle_free(Subtitle); }
};

// One frame of the stream's rate in microseconds; 0 when the rate is unknown.
int64_t FrameDuration(const InputStreamState& ist) {
    AVRational rate{0, 1};
    if (ist.Decoder && ist.Decoder->framerate.num > 0 && ist.Decoder->framerate.den > 0)
        rate = ist.Decoder->framerate;
    else if (ist.Stream->avg_frame_rate.num > 0 && ist.Stream->avg_frame_rate.den > 0)
        rate = ist.Stream->avg_frame_rate;
    else if (ist.Stream->r_frame_rate.num > 0 && ist.Stream->r_frame_rate.den > 0)
        rate = ist.Stream->r_frame_rate;
    return rate.num > 0 ? int64_t{1000000} * rate.den / rate.num : 0;
}

// How far a copied packet moves the stream's time on, in microseconds.
int64_t CopiedPacketDuration(const InputStreamState& ist, const AVPacket& packet) {
    const AVCodecParameters& parameters = *ist.Stream->codecpar;
    int64_t duration = 0;
    if (parameters.codec_type == AVMEDIA_TYPE_AUDIO && parameters.frame_size > 0 &&
        parameters.sample_rate > 0)
        duration = int64_t{parameters.frame_size} * 1000000 / parameters.sample_rate;
    else if (parameters.codec_type == AVMEDIA_TYPE_VIDEO)
        duration = FrameDuration(ist);
    if (duration == 0 && packet.duration > 0)
        duration = ff::av_rescale_q(packet.duration, ist.Stream->time_base, kMicroseconds);
    return duration;
}

}  // namespace

int TCustomFFmpeg::OutputPacket(InputStreamState& ist, AVPacket* packet) {
    if (ist.NextPts == kNoTimeValue) ist.NextPts = ist.Pts;
    if (packet && packet->dts != AV_NOPTS_VALUE)
        ist.NextPts = ist.Pts = ff::av_rescale_q(packet->dts, ist.Stream->time_base, kMicroseconds);

    if (packet) {
        if (!ist.DecodingNeeded) {
            ist.Pts = ist.NextPts;
            ist.NextPts += CopiedPacketDuration(ist, *packet);
        }
        PaceRealTimeInput(ist);
        if (FRun.StartTime == 0 || ist.Pts >= FRun.StartTime) CopyToOutputs(ist, *packet);
    }
    if (ist.DecodingNeeded && DecodePacket(ist, packet) < 0) return -1;
    if (!packet) FlushEncoders(ist);
    return 0;
}

int TCustomFFmpeg::InputStreamIndex(const InputStreamState& ist) const {
    return static_cast<int>(&ist - FRunTables->InputStreams.data());
}

void TCustomFFmpeg::CopyToOutputs(InputStreamState& ist, AVPacket& packet) {
    const int source = InputStreamIndex(ist);
    OutputStreamState* pending = nullptr;  // each copy is written once the next one is known
    for (OutputStreamState& ost : FRunTables->OutputStreams) {
        if (ost.SourceIndex != source || ost.EncodingNeeded) continue;
        if (pending) StreamCopyPacket(*pending, ist, packet, false);
        pending = &ost;
    }
    // The last copy takes the packet's data over unless the decoder still needs it.
    if (pending) StreamCopyPacket(*pending, ist, packet, !ist.DecodingNeeded);
}

// Decodes the packet (or drains the decoder) and hands every frame on; -1 on a decoding error.
int TCustomFFmpeg::DecodePacket(InputStreamState& ist, AVPacket* packet) {
    switch (ist.Stream->codecpar->codec_type) {
        case AVMEDIA_TYPE_VIDEO:
        case AVMEDIA_TYPE_AUDIO:
            return DecodeFrames(ist, packet);
        case AVMEDIA_TYPE_SUBTITLE:
            return DecodeSubtitle(ist, packet);
        default:
            return -1;
    }
}

int TCustomFFmpeg::DecodeFrames(InputStreamState& ist, AVPacket* packet) {
    if (!ist.DecoderOpen) return -1;
    const int sent = ff::avcodec_send_packet(ist.Decoder, packet);
    // A decoder drained before (join mode) has nothing more to give.
    if (sent == AVERROR_EOF && !packet) return 0;
    if (sent < 0) return -1;
    AVFrame* frame = ist.Frame.get();
    int frames = 0;
    for (;;) {
        const int received = ff::avcodec_receive_frame(ist.Decoder, frame);
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) return 0;
        if (received < 0) return -1;
        ++frames;
        if (frames == 2 && packet && !(ist.Decoder->codec->capabilities & AV_CODEC_CAP_SUBFRAMES) &&
            FRun.Verbose > 0)
            TFFLogger::Instance().Log(
                    this, llError, FormatText("Multiple frames in a packet from stream %d", ist.StreamIndex));
        TakeFrameTimes(ist, *frame);
        if (ist.Stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
            ist.Quality = frame->quality;
            PreProcessVideo(ist, *frame);
        } else if (FAudio.Volume != 256) {
            // The pending volume, read here on purpose: one volume for the whole run (the last one
            // set), not the one current when the stream was added.
            if (ff::av_frame_make_writable(frame) < 0) return -1;
            ApplyVolume(*frame, FAudio.Volume);
        }
        PaceRealTimeInput(ist);
        if (FRun.StartTime == 0 || ist.Pts >= FRun.StartTime) HandDecodedFrame(ist, *frame);
        ff::av_frame_unref(frame);
    }
}

// The decoded frame's presentation time, and the time the next one is expected at.
void TCustomFFmpeg::TakeFrameTimes(InputStreamState& ist, const AVFrame& frame) {
    const AVRational timeBase = ist.Stream->time_base;
    if (frame.best_effort_timestamp != AV_NOPTS_VALUE)
        ist.Pts = ff::av_rescale_q(frame.best_effort_timestamp, timeBase, kMicroseconds);
    else
        ist.Pts = ist.NextPts;
    int64_t duration = 0;
    if (ist.Stream->codecpar->codec_type == AVMEDIA_TYPE_AUDIO) {
        if (frame.sample_rate > 0) duration = int64_t{frame.nb_samples} * 1000000 / frame.sample_rate;
    } else {
        duration = FrameDuration(ist) * (2 + frame.repeat_pict) / 2;
        if (duration == 0 && frame.pkt_duration > 0)
            duration = ff::av_rescale_q(frame.pkt_duration, timeBase, kMicroseconds);
    }
    ist.NextPts = ist.Pts + duration;
}

void TCustomFFmpeg::HandDecodedFrame(InputStreamState& ist, AVFrame& frame) {
    const int source = InputStreamIndex(ist);
    for (OutputStreamState& ost : FRunTables->OutputStreams) {
        if (ost.SourceIndex != source || !ost.EncodingNeeded) continue;
        // A stream that has reached the recording time takes nothing more.
        if (OutputTime(ost) >= FRun.RecordingTimeSeconds) continue;
        switch (ost.Output->Kind) {
            case AVMEDIA_TYPE_AUDIO:
                DoAudioOut(*ost.File, ost, ist, frame);
                break;
            case AVMEDIA_TYPE_VIDEO:
                DoVideoOut(*ost.File, ost, ist, frame);
                break;
            default:
                throw FFmpegException("invalid codec_type");
        }
    }
}

int TCustomFFmpeg::DecodeSubtitle(InputStreamState& ist, AVPacket* packet) {
    if (!packet) return 0;  // subtitle decoders keep nothing back
    if (!ist.DecoderOpen) return -1;
    AVSubtitle subtitle{};
    int got = 0;
    if (ff::avcodec_decode_subtitle2(ist.Decoder, &subtitle, &got, packet) < 0) return -1;
    if (!got) return 0;
    TSubtitleRelease release{&subtitle};
    if (FRun.StartTime != 0 && ist.Pts < FRun.StartTime) return 0;
    const int source = InputStreamIndex(ist);
    for (OutputStreamState& ost : FRunTables->OutputStreams) {
        if (ost.SourceIndex != source || !ost.EncodingNeeded) continue;
        if (ost.Output->Kind != AVMEDIA_TYPE_SUBTITLE) throw FFmpegException("invalid codec_type");
        const int64_t pts = packet->pts != AV_NOPTS_VALUE
                                    ? ff::av_rescale_q(packet->pts, ist.Stream->time_base, kMicroseconds)
                                    : AV_NOPTS_VALUE;
        DoSubtitleOut(*ost.File, ost, ist, subtitle, pts);
    }
    return 0;
}

// Reading at the input's own pace ("re"): wait while the stream is ahead of the wall clock.
void TCustomFFmpeg::PaceRealTimeInput(const InputStreamState& ist) {
    if (!FRun.RateEmu) return;
    const int64_t elapsed = ff::av_gettime() - ist.StartTime;
    const int64_t ahead = ist.Pts - elapsed;
    if (ahead > 1000) ff::av_usleep(static_cast<unsigned>(ahead / 1000 * 1000));
}

}  // namespace kestrova
