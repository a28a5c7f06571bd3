#include "engine/core/audio/SampleFrames.h"

#include "engine/core/FFmpegException.h"

namespace kestrova {

namespace {

AVFrame& GrowFrame(FramePtr& frame, int format, int rate, const AVChannelLayout& layout, int samples) {
    // The buffer's size depends on the sample format and the channel count only.
    if (frame && frame->nb_samples >= samples && frame->format == format &&
        frame->ch_layout.nb_channels == layout.nb_channels)
        return *frame;
    FramePtr grown(ff::av_frame_alloc());
    if (!grown) throw FFmpegException("Out of memory in do_audio_out");
    grown->format = format;
    grown->sample_rate = rate;
    grown->nb_samples = samples;
    if (ff::av_channel_layout_copy(&grown->ch_layout, &layout) < 0 ||
        ff::av_frame_get_buffer(grown.get(), 0) < 0)
        throw FFmpegException("Out of memory in do_audio_out");
    frame = std::move(grown);
    return *frame;
}

}  // namespace

AVFrame& GrowSampleFrame(FramePtr& frame, const AVCodecContext& encoder, int samples) {
    return GrowFrame(frame, encoder.sample_fmt, encoder.sample_rate, encoder.ch_layout, samples);
}

AVFrame& SilenceLike(FramePtr& frame, const AVFrame& samples, int count) {
    AVFrame& silence = GrowFrame(frame, samples.format, samples.sample_rate, samples.ch_layout, count);
    ff::av_samples_set_silence(silence.extended_data, 0, count, silence.ch_layout.nb_channels,
                               static_cast<AVSampleFormat>(silence.format));
    return silence;
}

}  // namespace kestrova
