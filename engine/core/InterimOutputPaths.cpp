// Straight-through audio path and a short progress report, until the full ones are built:
// decoded samples are converted when the encoder wants another format, rate or layout, and
// encoded in encoder frames, without audio synchronisation.
#include "CustomFFmpeg.h"

#include "FFmpegException.h"
#include "SampleFrames.h"
#include "RunText.h"
#include "frame/FFmpegLogger.h"

#include <cmath>

namespace kestrova {

void TCustomFFmpeg::DoAudioOut(TOutputFile&, OutputStreamState& ost, InputStreamState&, AVFrame& samples) {
    const AVCodecContext& encoder = *ost.Output->Codec;
    uint8_t** data = samples.extended_data;
    int count = samples.nb_samples;
    const bool converted = samples.format != encoder.sample_fmt || samples.sample_rate != encoder.sample_rate ||
                           samples.ch_layout.nb_channels != encoder.ch_layout.nb_channels;
    if (converted) {
        if (!ost.Resampler) {
            SwrContext* resampler = nullptr;
            // The library takes the layouts by non-const pointer but only reads them.
            ff::swr_alloc_set_opts2(&resampler, const_cast<AVChannelLayout*>(&encoder.ch_layout),
                                    encoder.sample_fmt, encoder.sample_rate, &samples.ch_layout, static_cast<AVSampleFormat>(samples.format),
                                    samples.sample_rate, 0, nullptr);
            ost.Resampler.reset(resampler);
            if (!resampler || ff::swr_init(resampler) < 0)
                throw FFmpegException(FormatText("Can not resample %d channels @ %d Hz to %d channels @ %d Hz",
                                                 samples.ch_layout.nb_channels, samples.sample_rate,
                                                 encoder.ch_layout.nb_channels, encoder.sample_rate));
        }
        const int capacity = ff::swr_get_out_samples(ost.Resampler.get(), count);
        AVFrame& out = ConvertedSamples(ost, capacity);
        count = ff::swr_convert(ost.Resampler.get(), out.extended_data, out.nb_samples,
                                const_cast<const uint8_t**>(samples.extended_data), samples.nb_samples);
        if (count < 0) throw FFmpegException("Audio encoding failed");
        data = out.extended_data;
    }
    if (ff::av_audio_fifo_write(ost.Fifo.get(), reinterpret_cast<void**>(data), count) < count)
        throw FFmpegException("av_fifo_realloc2() failed");
    EncodeAudioFifo(ost, false);
}

// The stream's buffer for converted samples, able to hold `samples` samples.
AVFrame& TCustomFFmpeg::ConvertedSamples(OutputStreamState& ost, int samples) {
    return GrowSampleFrame(ost.ConvertedSamples, *ost.Output->Codec, samples);
}

// A short form of the progress report: the numbers for the front's callback, or one status
// line in the log.
void TCustomFFmpeg::PrintReport(bool lastReport, int inputIndex) {
    if (!FRunTables) return;
    TJobProgress progress;
    progress.InputIndex = inputIndex;
    progress.TotalDuration = FState.TotalDuration;
    if (FFiles.NbOutputFiles > 0) {
        if (AVIOContext* io = FOutputs.Entries[0]->Context->pb) {
            progress.TotalSize = ff::avio_size(io);
            if (progress.TotalSize < 0) progress.TotalSize = ff::avio_seek(io, 0, SEEK_CUR);
        }
    }
    double currentTime = 0;  // the least advanced stream with a time
    bool firstVideo = true;
    for (const OutputStreamState& ost : FRunTables->OutputStreams) {
        if (ost.Output->Kind == AVMEDIA_TYPE_VIDEO && firstVideo) {
            firstVideo = false;
            if (ost.FrameNumber < 1) return;
            const double elapsed = static_cast<double>(ff::av_gettime() - FStatistics.StartTime) / 1000000;
            progress.FrameNumber = ost.FrameNumber;
            progress.Fps = elapsed > 1 ? static_cast<int>(ost.FrameNumber / elapsed + 0.5) : 0;
            progress.Quality = ost.EncodingNeeded ? static_cast<float>(ost.Output->Codec->global_quality) / FF_QP2LAMBDA : -1;
        }
        const double time = static_cast<double>(ost.CurrentPts) * ::av_q2d(ost.Output->Stream->time_base);
        if (time > 0 && (currentTime == 0 || time < currentTime)) currentTime = time;
    }
    if (currentTime < 0.01) currentTime = 0.01;
    if (!OnProgress && FRun.Verbose <= 0 && !lastReport) return;
    progress.BitRate = static_cast<float>(static_cast<double>(progress.TotalSize) * 8 / currentTime / 1000);
    progress.CurrentDuration = std::llround(currentTime * 1000000);
    if (OnProgress) {
        OnProgress(*this, progress);
        return;
    }
    if (FRun.Verbose >= 0)
        TFFLogger::Instance().Log(this, llVerbose,
                                  FormatText("size=%8.0fkB time=%0.2f bitrate=%6.1fkbits/s",
                                             static_cast<double>(progress.TotalSize) / 1024, currentTime,
                                             static_cast<double>(progress.BitRate)));
}

} // namespace kestrova
