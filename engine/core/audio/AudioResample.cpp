#include "engine/core/audio/AudioResample.h"

#include "engine/core/FFmpegException.h"
#include "engine/frame/Text.h"

#include <climits>

namespace kestrova {

namespace {

// A key for the pair of sample formats a converter was made for.
int FormatPair(int encoderFormat, int decoderFormat) {
    return encoderFormat + AV_SAMPLE_FMT_NB * decoderFormat;
}

// The resampling filter: 16 taps, 2^10 phases, no linear interpolation, cut-off at 0.8 of the
// lower Nyquist frequency.
void SetFilterOptions(SwrContext* resampler) {
    ff::av_opt_set(resampler, "filter_size", "16", 0);
    ff::av_opt_set(resampler, "phase_shift", "10", 0);
    ff::av_opt_set(resampler, "linear_interp", "0", 0);
    ff::av_opt_set(resampler, "cutoff", "0.8", 0);
}

uint64_t LayoutMask(const AVChannelLayout& layout) {
    return layout.order == AV_CHANNEL_ORDER_NATIVE ? layout.u.mask : 0;
}

}  // namespace

bool SoundChanged(const TAudioOutState& audio, const AVFrame& samples) {
    return audio.InputRate != 0 &&
           (samples.sample_rate != audio.InputRate || samples.ch_layout.nb_channels != audio.InputChannels ||
            LayoutMask(samples.ch_layout) != audio.InputLayout);
}

bool NeedsConversion(const AVFrame& samples, const AVCodecContext& encoder) {
    return samples.format != encoder.sample_fmt || samples.sample_rate != encoder.sample_rate ||
           samples.ch_layout.nb_channels != encoder.ch_layout.nb_channels;
}

void CheckAudioBufferSizes(const AVFrame& samples, const AVCodecContext& encoder) {
    if (samples.sample_rate <= 0) throw FFmpegException("Buffer sizes too large in do_audio_out");
    // Converted samples of this frame, with the margin the converter may hand out at once.
    const int64_t converted = (int64_t{samples.nb_samples} * encoder.sample_rate + samples.sample_rate) /
                                      samples.sample_rate * 2 +
                              10000;
    const int64_t bytes =
            converted * ff::av_get_bytes_per_sample(encoder.sample_fmt) * encoder.ch_layout.nb_channels;
    if (bytes > INT_MAX) throw FFmpegException("Buffer sizes too large in do_audio_out");
}

SwrContext& ResamplerFor(TAudioOutState& audio, const AVCodecContext& encoder, const AVFrame& samples,
                         bool stretchable) {
    const int pair = FormatPair(encoder.sample_fmt, samples.format);
    if (audio.Resampler && audio.ReformatPair == pair && !SoundChanged(audio, samples))
        return *audio.Resampler;
    audio.Resampler.reset();
    SwrContext* made = nullptr;
    // The library takes the layouts by non-const pointer but only reads them.
    ff::swr_alloc_set_opts2(&made, const_cast<AVChannelLayout*>(&encoder.ch_layout), encoder.sample_fmt,
                            encoder.sample_rate, const_cast<AVChannelLayout*>(&samples.ch_layout),
                            static_cast<AVSampleFormat>(samples.format), samples.sample_rate, 0, nullptr);
    audio.Resampler.reset(made);
    if (made) {
        SetFilterOptions(made);
        if (stretchable) ff::av_opt_set(made, "flags", "res", 0);
    }
    if (!made || ff::swr_init(made) < 0) {
        audio.Resampler.reset();
        const bool formatOnly = samples.sample_rate == encoder.sample_rate &&
                                samples.ch_layout.nb_channels == encoder.ch_layout.nb_channels;
        if (formatOnly) {
            const char* from = ff::av_get_sample_fmt_name(static_cast<AVSampleFormat>(samples.format));
            const char* to = ff::av_get_sample_fmt_name(encoder.sample_fmt);
            throw FFmpegException(FormatText("Cannot convert %s sample format to %s sample format",
                                             from ? from : "?", to ? to : "?"));
        }
        throw FFmpegException(FormatText("Can not resample %d channels @ %d Hz to %d channels @ %d Hz",
                                         samples.ch_layout.nb_channels, samples.sample_rate,
                                         encoder.ch_layout.nb_channels, encoder.sample_rate));
    }
    audio.ReformatPair = pair;
    audio.InputRate = samples.sample_rate;
    audio.InputChannels = samples.ch_layout.nb_channels;
    audio.InputLayout = LayoutMask(samples.ch_layout);
    return *made;
}

}  // namespace kestrova
