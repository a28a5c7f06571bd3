#include "engine/core/audio/SampleFrames.h"

#include "engine/core/FFmpegException.h"

namespace kestrova {

AVFrame& GrowSampleFrame(FramePtr& frame, const AVCodecContext& encoder, int samples) {
    if (frame && frame->nb_samples >= samples) return *frame;
    FramePtr grown(ff::av_frame_alloc());
    if (!grown) throw FFmpegException("Out of memory in do_audio_out");
    grown->format = encoder.sample_fmt;
    grown->sample_rate = encoder.sample_rate;
    grown->nb_samples = samples;
    if (ff::av_channel_layout_copy(&grown->ch_layout, &encoder.ch_layout) < 0 ||
        ff::av_frame_get_buffer(grown.get(), 0) < 0)
        throw FFmpegException("Out of memory in do_audio_out");
    frame = std::move(grown);
    return *frame;
}

}  // namespace kestrova
