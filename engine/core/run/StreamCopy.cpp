// Stream copy: an input packet goes to its output as it is, with its timestamps moved into the
// output stream's time base, from the first key frame on.
#include "engine/core/CustomFFmpeg.h"

#include "engine/core/FFmpegException.h"
#include "engine/core/run/PacketRelease.h"
#include "engine/core/run/RunTables.h"

namespace kestrova {

void TCustomFFmpeg::StreamCopyPacket(OutputStreamState& ost, const InputStreamState& ist, AVPacket& packet,
                                     bool lastUse) {
    // A copy starts at a key frame: what comes before it cannot be decoded.
    if (ost.FrameNumber == 0 && !(packet.flags & AV_PKT_FLAG_KEY) && !FRun.CopyInitialNonKeyFrames) return;

    const AVRational from = ist.Stream->time_base;
    const AVRational to = ost.Output->Stream->time_base;
    const int64_t startOffset = FRun.StartTime == 0 ? 0 : ff::av_rescale_q(FRun.StartTime, kMicroseconds, to);
    const int64_t pts = packet.pts == AV_NOPTS_VALUE ? AV_NOPTS_VALUE
                                                     : ff::av_rescale_q(packet.pts, from, to) - startOffset;
    const int64_t dts = (packet.dts == AV_NOPTS_VALUE ? ff::av_rescale_q(ist.Pts, kMicroseconds, to)
                                                      : ff::av_rescale_q(packet.dts, from, to)) -
                        startOffset;
    // The recording time ends each stream on its own: a packet that would be presented at or
    // after it is not written, whatever the other streams still need.
    const int64_t presented = pts != AV_NOPTS_VALUE ? pts : dts;
    if (static_cast<double>(presented) * ::av_q2d(to) >= FRun.RecordingTimeSeconds) return;

    AVPacket* copy = FRunTables->CopyPacket.get();
    // The same data, never copied: taken over, or a new reference to it.
    if (lastUse)
        ff::av_packet_move_ref(copy, &packet);
    else if (ff::av_packet_ref(copy, &packet) < 0)
        throw FFmpegException("av_packet_ref failed");
    TPacketRelease release{copy};
    copy->pts = pts;
    copy->dts = dts;
    copy->duration = ff::av_rescale_q(copy->duration, from, to);
    copy->pos = -1;

    switch (ost.Output->Kind) {
        case AVMEDIA_TYPE_AUDIO:
            FStatistics.AudioSize += copy->size;
            break;
        case AVMEDIA_TYPE_VIDEO:
            FStatistics.VideoSize += copy->size;
            ++ost.SyncOpts;
            break;
        default:
            break;
    }
    WriteOutputPacket(ost, *copy);
    ++ost.FrameNumber;
}

}  // namespace kestrova
