// From encoders and stream copy to the output files: packets are written with decoding times
// that only grow, and encoders hand over what they produced (and, drained at the end of a
// stream, what they still hold).
#include "engine/core/CustomFFmpeg.h"

#include "engine/core/FFmpegException.h"
#include "engine/core/run/QualityStats.h"
#include "engine/core/run/RunTables.h"
#include "engine/frame/FFmpegLogger.h"
#include "engine/frame/Text.h"

#include <cinttypes>

namespace kestrova {

namespace {

const char* EncodingFailure(AVMediaType kind) {
    switch (kind) {
        case AVMEDIA_TYPE_AUDIO:
            return "Audio encoding failed";
        case AVMEDIA_TYPE_VIDEO:
            return "Video encoding failed";
        default:
            return "Subtitle encoding failed";
    }
}

}  // namespace

void TCustomFFmpeg::WriteOutputPacket(OutputStreamState& ost, AVPacket& packet) {
    const AVOutputFormat& format = *ost.File->Context->oformat;
    // Muxers refuse decoding times that go back; such a packet is moved just past the last one.
    if (packet.dts != AV_NOPTS_VALUE && ost.LastDts != kNoTimeValue && !(format.flags & AVFMT_NOTIMESTAMPS)) {
        const int64_t least = ost.LastDts + ((format.flags & AVFMT_TS_NONSTRICT) ? 0 : 1);
        if (packet.dts < least) {
            if (FRun.Verbose >= 0)
                TFFLogger::Instance().Log(
                        this, llWarning,
                        FormatText("Non-monotonic timestamps in output stream #%d.%d: %" PRId64
                                   " after %" PRId64 ", corrected",
                                   ost.FileIndex, ost.Index, packet.dts, ost.LastDts));
            if (packet.pts != AV_NOPTS_VALUE && packet.pts >= packet.dts)
                packet.pts = std::max(packet.pts, least);
            packet.dts = least;
        }
    }
    // The stream's current presentation time: the end of the latest picture or samples written.
    const int64_t start = packet.pts != AV_NOPTS_VALUE ? packet.pts : packet.dts;
    if (packet.dts != AV_NOPTS_VALUE) ost.LastDts = packet.dts;
    if (start != AV_NOPTS_VALUE)
        ost.CurrentPts = std::max(ost.CurrentPts, start + std::max<int64_t>(packet.duration, 0));
    WritePacket(*ost.File, *ost.Output, &packet);
}

int TCustomFFmpeg::WriteEncodedPackets(OutputStreamState& ost, const AVFrame* frame) {
    TOutputStream& output = *ost.Output;
    AVCodecContext& encoder = *output.Codec;
    const int sent = ff::avcodec_send_frame(&encoder, frame);
    if (sent < 0 && !(frame == nullptr && sent == AVERROR_EOF))
        throw FFmpegException(EncodingFailure(output.Kind));
    OutputStreamState& owner = EncoderOwner(ost);
    AVPacket* packet = ost.Encoder.Packet.get();
    int written = 0;
    for (;;) {
        const int received = ff::avcodec_receive_packet(&encoder, packet);
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) break;
        if (received < 0) throw FFmpegException(EncodingFailure(output.Kind));
        written += packet->size;
        TakeQualityStats(ost.Encoder, *packet);
        (output.Kind == AVMEDIA_TYPE_VIDEO ? FStatistics.VideoSize : FStatistics.AudioSize) += packet->size;
        if (output.Kind == AVMEDIA_TYPE_VIDEO && !FRun.VstatsFileName.empty())
            WriteVideoStatsLine(FRunTables->VstatsFile, FRun.VstatsFileName, ost, packet->size,
                                FStatistics.VideoSize);
        if (owner.Encoder.PassLog && encoder.stats_out)
            WritePassOneStats(owner.Encoder.PassLog.get(), encoder.stats_out);
        ff::av_packet_rescale_ts(packet, encoder.time_base, output.Stream->time_base);
        WriteOutputPacket(ost, *packet);
        ff::av_packet_unref(packet);
    }
    return written;
}

// The end of an input stream: what the audio fifo still holds is encoded, and every encoder
// fed by the stream gives up the frames it keeps back.
void TCustomFFmpeg::FlushEncoders(InputStreamState& ist) {
    const int source = InputStreamIndex(ist);
    for (OutputStreamState& ost : FRunTables->OutputStreams) {
        if (ost.SourceIndex != source || !ost.EncodingNeeded) continue;
        if (!EncoderOwner(ost).Encoder.Open) continue;
        switch (ost.Output->Kind) {
            case AVMEDIA_TYPE_AUDIO:
                FlushAudioOut(ost);
                break;
            case AVMEDIA_TYPE_VIDEO:
                FlushVideoOut(ost, ist);
                break;
            default:
                break;
        }
    }
}

}  // namespace kestrova
