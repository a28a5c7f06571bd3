#include "engine/core/audio/AudioSync.h"

#include "engine/core/outputs/OutputFiles.h"
#include "engine/core/run/RunTables.h"
#include "engine/frame/FFmpegLogger.h"
#include "engine/frame/Text.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kestrova {

namespace {

// Differences up to this many samples are left alone.
constexpr double kDeadZone = 50;
// Inserted silence per call is bounded by this many bytes of decoded samples, the call's own
// samples included.
constexpr int kSilenceLimitBytes = 131072;

// The line is only formatted when it is shown: this runs for every decoded audio frame.
template <class... TArgs>
void LogSync(const TAudioSyncSettings& settings, const char* format, TArgs... args) {
    if (settings.Verbose > 2)
        TFFLogger::Instance().Log(settings.LogSender, llVerbose, FormatText(format, args...));
}

TAudioSyncStep DropOrInsert(const TAudioSyncSettings& settings, InputStreamState& ist, const AVFrame& samples,
                            double delta, double encoderRate) {
    TAudioSyncStep step;
    const int decoderRate = samples.sample_rate;
    const auto inputDelta = static_cast<int64_t>(delta * decoderRate / encoderRate);
    if (inputDelta < 0) {
        step.DropSamples = static_cast<int>(std::min<int64_t>(-inputDelta, samples.nb_samples));
        LogSync(settings, "discarding %d audio samples", static_cast<int>(-delta));
        if (step.DropSamples >= samples.nb_samples) {
            step.Nothing = true;
            return step;
        }
        ist.IsStart = false;
        return step;
    }
    const int channels = std::max(samples.ch_layout.nb_channels, 1);
    const int sampleBytes =
            std::max(ff::av_get_bytes_per_sample(static_cast<AVSampleFormat>(samples.format)), 1);
    const int64_t limit =
            std::max<int64_t>(kSilenceLimitBytes / (channels * sampleBytes) - samples.nb_samples, 0);
    if (inputDelta > limit) {
        step.SilenceSamples = static_cast<int>(limit);
        step.MoreSilence = limit > 0;  // the rest of the gap is filled before the samples too
    } else {
        step.SilenceSamples = static_cast<int>(inputDelta);
        ist.IsStart = false;
    }
    LogSync(settings, "adding %d audio samples of silence", static_cast<int>(delta));
    return step;
}

}  // namespace

TAudioSyncStep SyncAudio(const TAudioSyncSettings& settings, OutputStreamState& ost, InputStreamState& ist,
                         const AVFrame& samples, SwrContext* resampler) {
    TAudioSyncStep step;
    if (ist.Pts == kNoTimeValue || samples.sample_rate <= 0) return step;
    const AVCodecContext& encoder = *ost.Output->Codec;
    const double encoderRate = encoder.sample_rate;
    // Samples not encoded yet: those in the fifo, and those the converter still holds back (its
    // filter delay). Left out, the stream's clock would run ahead of its samples, and a muxer
    // that fills fixed frames with sound (DV) would find a frame short of it.
    int64_t waiting = ost.Audio.Fifo ? ff::av_audio_fifo_size(ost.Audio.Fifo.get()) : 0;
    if (resampler) waiting += ff::swr_get_delay(resampler, encoder.sample_rate);
    const double inputTime = static_cast<double>(ist.Pts - settings.StartTime) / 1000000;
    if (settings.Method == 0) {
        ost.SyncOpts = std::llround(inputTime * encoderRate) - waiting;
        return step;
    }
    const double delta =
            inputTime * encoderRate - static_cast<double>(ost.SyncOpts) - static_cast<double>(waiting);
    if (std::fabs(delta) <= kDeadZone) return step;
    if (ist.IsStart || std::fabs(delta) > settings.DriftThreshold * encoderRate)
        return DropOrInsert(settings, ist, samples, delta, encoderRate);
    if (settings.Method > 1 && resampler) {
        const int compensation = std::clamp(static_cast<int>(delta), -settings.Method, settings.Method);
        LogSync(settings, "compensating audio timestamp drift:%f compensation:%d in:%d", delta, compensation,
                encoder.sample_rate);
        ff::swr_set_compensation(resampler, compensation, encoder.sample_rate);
    }
    return step;
}

}  // namespace kestrova
