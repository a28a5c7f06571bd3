#include "tools/mediagen/AudioTrack.h"

#include "tools/mediagen/ToneSignal.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace kestrova::mediagen {

namespace {

constexpr int kDefaultFrameSize = 1024;

bool SupportsRate(const AVCodec* codec, int sampleRate) {
    if (!codec->supported_samplerates) return true;
    for (const int* rate = codec->supported_samplerates; *rate; ++rate)
        if (*rate == sampleRate) return true;
    return false;
}

int64_t AudioBitRate(int sampleRate, int channels) {
    // Enough for a clean tone, within every encoder's limits for the rate.
    const int64_t cap = sampleRate <= 12000 ? 64000 : 160000;
    return std::min<int64_t>(64000LL * channels, cap);
}

// Stores a value in [-1, 1] as sample i of channel c of a frame in any common sample format.
void StoreSample(AVFrame* frame, AVSampleFormat format, int channels, int c, int i, double value) {
    const bool planar = av_sample_fmt_is_planar(format);
    uint8_t* base = frame->data[planar ? c : 0];
    const int index = planar ? i : i * channels + c;
    switch (av_get_packed_sample_fmt(format)) {
        case AV_SAMPLE_FMT_S16:
            reinterpret_cast<int16_t*>(base)[index] = static_cast<int16_t>(std::lround(value * 32767.0));
            break;
        case AV_SAMPLE_FMT_S32:
            reinterpret_cast<int32_t*>(base)[index] = static_cast<int32_t>(std::lround(value * 2147483647.0));
            break;
        case AV_SAMPLE_FMT_FLT:
            reinterpret_cast<float*>(base)[index] = static_cast<float>(value);
            break;
        case AV_SAMPLE_FMT_DBL:
            reinterpret_cast<double*>(base)[index] = value;
            break;
        default:
            throw std::runtime_error("unsupported sample format");
    }
}

}  // namespace

TAudioTrack::TAudioTrack(AVFormatContext* muxer, const char* encoderName, const TGeneratorOptions& options,
                         int64_t startSample, int64_t sampleCount)
    : FStream(muxer, encoderName), FOptions(options), FSampleRate(options.SampleRate), FStart(startSample),
      FCount(sampleCount) {
    Configure(options.SampleRate, options.Channels);
    // The change falls between two whole encoder frames, so no padded frame runs into the new sound.
    if (ChangesSound(options)) FChangeAt = sampleCount / 2 / FFrameSize * FFrameSize;
    AllocateFrame();
}

void TAudioTrack::AllocateFrame() {
    FFrame.reset(CheckAlloc(av_frame_alloc()));
    FFrame->format = FStream.Context()->sample_fmt;
    FFrame->sample_rate = FSampleRate;
    FFrame->nb_samples = FFrameSize;
    CheckLib(av_channel_layout_copy(&FFrame->ch_layout, &FStream.Context()->ch_layout), "channel layout");
    CheckLib(av_frame_get_buffer(FFrame.get(), 0), "allocating audio samples");
}

// The second half of the clip: a fresh encoder at the new rate and channel count, its samples
// counted from the change on, at the new rate.
void TAudioTrack::ChangeSound() {
    const int rate = FOptions.ChangeSampleRate > 0 ? FOptions.ChangeSampleRate : FOptions.SampleRate;
    const int channels = FOptions.ChangeChannels > 0 ? FOptions.ChangeChannels : FOptions.Channels;
    FStream.Restart();
    Configure(rate, channels);
    // Rounded up: the new sound never starts before the old one ended.
    const auto rescale = [&](int64_t samples) { return (samples * rate + FSampleRate - 1) / FSampleRate; };
    FStart = rescale(FStart + FWritten);
    FCount = rescale(FCount - FWritten);
    FWritten = 0;
    FChangeAt = -1;
    FSampleRate = rate;
    AllocateFrame();
}

void TAudioTrack::Configure(int sampleRate, int channels) {
    const AVCodec* codec = FStream.Codec();
    AVCodecContext* context = FStream.Context();
    if (!SupportsRate(codec, sampleRate))
        throw std::runtime_error("the encoder " + std::string(codec->name) +
                                 " does not support the sample rate " + std::to_string(sampleRate));
    context->sample_fmt = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
    context->sample_rate = sampleRate;
    av_channel_layout_default(&context->ch_layout, channels);
    context->time_base = {1, sampleRate};
    context->bit_rate = AudioBitRate(sampleRate, channels);
    context->thread_count = 1;
    TOptionList privateOptions;
    FStream.Open(&privateOptions.Entries);

    const bool variable = codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE;
    FFrameSize = (variable || context->frame_size <= 0) ? kDefaultFrameSize : context->frame_size;
    FPadLastFrame =
            !variable && context->frame_size > 0 && !(codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME);
}

double TAudioTrack::NextTime() const {
    return static_cast<double>(FStart + FWritten) / FSampleRate;
}

void TAudioTrack::FillTone(int samples) {
    const auto format = static_cast<AVSampleFormat>(FFrame->format);
    const int channels = FFrame->ch_layout.nb_channels;
    for (int i = 0; i < FFrame->nb_samples; ++i) {
        for (int c = 0; c < channels; ++c) {
            // Past the end of the tone (a padded last frame) comes silence.
            const double value = i < samples ? ToneSample(c, FWritten + i, FSampleRate) : 0.0;
            StoreSample(FFrame.get(), format, channels, c, i, value);
        }
    }
}

void TAudioTrack::EncodeNext() {
    if (FWritten == FChangeAt) ChangeSound();
    CheckLib(av_frame_make_writable(FFrame.get()), "allocating audio samples");
    // The last frame before a change ends at the change (padded when the encoder needs it).
    const int64_t end = FChangeAt >= 0 ? FChangeAt : FCount;
    const int samples = static_cast<int>(std::min<int64_t>(FFrameSize, end - FWritten));
    FFrame->nb_samples = FPadLastFrame ? FFrameSize : samples;
    FillTone(samples);
    FFrame->pts = FStart + FWritten;
    FStream.Encode(FFrame.get());
    FWritten += samples;
}

}  // namespace kestrova::mediagen
