#include "engine/core/audio/SampleQueue.h"

#include "engine/core/FFmpegException.h"
#include "engine/core/audio/SampleFrames.h"
#include "engine/core/outputs/OutputFiles.h"

#include <array>

namespace kestrova {

namespace {

// Plane pointers of decoded samples with the first `skipped` samples left out. Packed formats
// have one plane; planar ones one per channel.
class TSamplePlanes {
public:
    TSamplePlanes(const AVFrame& samples, int skipped) {
        const bool planar = ff::av_sample_fmt_is_planar(static_cast<AVSampleFormat>(samples.format)) != 0;
        const int channels = samples.ch_layout.nb_channels;
        if (skipped == 0) {
            FData = const_cast<const uint8_t**>(samples.extended_data);
            return;
        }
        const int planes = planar ? channels : 1;
        if (planes > static_cast<int>(FOffset.size())) throw FFmpegException("Audio encoding failed");
        const int step = ff::av_get_bytes_per_sample(static_cast<AVSampleFormat>(samples.format)) *
                         (planar ? 1 : channels);
        for (int i = 0; i < planes; ++i)
            FOffset[i] = samples.extended_data[i] + static_cast<ptrdiff_t>(skipped) * step;
        FData = FOffset.data();
    }
    const uint8_t** Data() const { return FData; }

private:
    std::array<const uint8_t*, 64> FOffset{};
    const uint8_t** FData = nullptr;
};

bool Queue(OutputStreamState& ost, SwrContext* resampler, const uint8_t** data, int count) {
    if (count <= 0) return true;
    if (!resampler) {
        AppendToFifo(ost, const_cast<uint8_t* const*>(data), count);
        return true;
    }
    AVFrame& out = GrowSampleFrame(ost.Audio.ConvertedSamples, *ost.Output->Codec,
                                   ff::swr_get_out_samples(resampler, count));
    const int converted = ff::swr_convert(resampler, out.extended_data, out.nb_samples, data, count);
    if (converted < 0) return false;
    AppendToFifo(ost, out.extended_data, converted);
    return true;
}

}  // namespace

void AppendToFifo(OutputStreamState& ost, uint8_t* const* data, int count) {
    if (count <= 0) return;
    if (ff::av_audio_fifo_write(ost.Audio.Fifo.get(), reinterpret_cast<void**>(const_cast<uint8_t**>(data)),
                                count) < count)
        throw FFmpegException("av_fifo_realloc2() failed");
}

bool QueueDecodedSamples(OutputStreamState& ost, SwrContext* resampler, const AVFrame& samples, int skipped,
                         int silence) {
    if (silence > 0) {
        const AVFrame& quiet = SilenceLike(ost.Audio.InputSilence, samples, silence);
        if (!Queue(ost, resampler, const_cast<const uint8_t**>(quiet.extended_data), silence)) return false;
    }
    const TSamplePlanes planes(samples, skipped);
    return Queue(ost, resampler, planes.Data(), samples.nb_samples - skipped);
}

}  // namespace kestrova
