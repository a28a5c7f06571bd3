// DoSubtitleOut: a decoded subtitle re-encoded for its output stream. DVB subtitles take two
// packets, one that shows the subtitle and one that clears it.
#include "engine/core/CustomFFmpeg.h"

#include "engine/core/FFmpegException.h"
#include "engine/core/run/RunTables.h"
#include "engine/core/video/VideoPathState.h"
#include "engine/frame/FFmpegLogger.h"

#include <cstring>

namespace kestrova {

void TCustomFFmpeg::DoSubtitleOut(TOutputFile&, OutputStreamState& ost, InputStreamState&,
                                  AVSubtitle& subtitle, int64_t pts) {
    if (pts == AV_NOPTS_VALUE) {
        if (FRun.ExitOnError) throw FFmpegException("Subtitle packets must have a pts");
        TFFLogger::Instance().Log(this, llError, "Subtitle packets must have a pts");
        return;
    }
    if (!FVideoPath->SubtitleBuffer) {
        FVideoPath->SubtitleBuffer.reset(static_cast<uint8_t*>(ff::av_malloc(kSubtitleBufferSize)));
        if (!FVideoPath->SubtitleBuffer) throw FFmpegException("Subtitle encoding failed");
    }
    AVCodecContext& encoder = *ost.Output->Codec;
    const AVRational streamTimeBase = ost.Output->Stream->time_base;
    const bool dvb = encoder.codec_id == AV_CODEC_ID_DVB_SUBTITLE;
    const unsigned rects = subtitle.num_rects;
    AVPacket* packet = ost.Encoder.Packet.get();
    for (int index = 0; index < (dvb ? 2 : 1); ++index) {
        subtitle.pts = pts + int64_t{subtitle.start_display_time} * 1000;
        subtitle.end_display_time -= subtitle.start_display_time;
        subtitle.start_display_time = 0;
        // The second DVB packet clears the screen: it carries no pictures. The rectangles stay
        // counted for the subtitle's release.
        if (index == 1) subtitle.num_rects = 0;
        const int size = ff::avcodec_encode_subtitle(&encoder, FVideoPath->SubtitleBuffer.get(),
                                                     kSubtitleBufferSize, &subtitle);
        subtitle.num_rects = rects;
        if (size < 0) throw FFmpegException("Subtitle encoding failed");
        if (ff::av_new_packet(packet, size) < 0) throw FFmpegException("Subtitle encoding failed");
        std::memcpy(packet->data, FVideoPath->SubtitleBuffer.get(), static_cast<size_t>(size));
        packet->pts = ff::av_rescale_q(subtitle.pts, kMicroseconds, streamTimeBase);
        if (dvb) {
            const int64_t shownFor = index == 0 ? subtitle.start_display_time : subtitle.end_display_time;
            packet->pts += ff::av_rescale_q(shownFor, AVRational{1, 1000}, streamTimeBase);
        }
        packet->dts = packet->pts;
        WriteOutputPacket(ost, *packet);
        ff::av_packet_unref(packet);
    }
}

}  // namespace kestrova
