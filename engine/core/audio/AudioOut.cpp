// The audio output path: decoded samples of one input stream become encoder frames of one
// output stream. They are kept in step with the input times, converted to the encoder's
// layout, rate and format, gathered in the stream's fifo and encoded in whole encoder frames;
// the end of the stream drains the converter and encodes what is left.
#include "engine/core/CustomFFmpeg.h"

#include "engine/core/FFmpegException.h"
#include "engine/core/audio/AudioResample.h"
#include "engine/core/audio/AudioSync.h"
#include "engine/core/audio/SampleFrames.h"
#include "engine/core/audio/SampleQueue.h"
#include "engine/core/run/RunTables.h"
#include "engine/frame/FFmpegLogger.h"
#include "engine/frame/Text.h"

namespace kestrova {

namespace {

// Samples the converter refuses end the run with exit-on-error; otherwise they are dropped.
void ReportConversionFailure(const void* job, bool exitOnError) {
    if (exitOnError) throw FFmpegException("av_audio_convert() failed");
    TFFLogger::Instance().Log(job, llError, "av_audio_convert() failed");
}

}  // namespace

void TCustomFFmpeg::DoAudioOut(TOutputFile&, OutputStreamState& ost, InputStreamState& ist,
                               AVFrame& samples) {
    const AVCodecContext& encoder = *ost.Output->Codec;
    if (samples.nb_samples <= 0 || !ost.Audio.Fifo) return;
    CheckAudioBufferSizes(samples, encoder);
    if (SoundChanged(ost.Audio, samples)) FollowSoundChange(ost, ist, samples);
    if (samples.ch_layout.nb_channels != encoder.ch_layout.nb_channels ||
        samples.sample_rate != encoder.sample_rate)
        ost.Audio.Resample = true;
    SwrContext* resampler = nullptr;
    if (ost.Audio.Resample || NeedsConversion(samples, encoder))
        resampler = &ResamplerFor(ost.Audio, encoder, samples, FRun.AudioSyncMethod > 1);

    const TAudioSyncSettings sync{FRun.AudioSyncMethod, FRun.AudioDriftThreshold, FRun.StartTime,
                                  FRun.Verbose, this};
    TAudioSyncStep step = SyncAudio(sync, ost, ist, samples, resampler);
    // A gap longer than one call may fill is filled piece after piece, each piece encoded before
    // the next, so that no samples land inside it.
    while (step.MoreSilence) {
        if (!QueueDecodedSamples(ost, resampler, samples, samples.nb_samples, step.SilenceSamples))
            return ReportConversionFailure(this, FRun.ExitOnError);
        EncodeAudioFifo(ost, false);
        step = SyncAudio(sync, ost, ist, samples, resampler);
    }
    if (step.Nothing) return;
    if (!QueueDecodedSamples(ost, resampler, samples, step.DropSamples, step.SilenceSamples))
        return ReportConversionFailure(this, FRun.ExitOnError);
    EncodeAudioFifo(ost, false);
}

// The samples the stream's converter still holds back go to the fifo.
void TCustomFFmpeg::DrainResampler(OutputStreamState& ost) {
    SwrContext* resampler = ost.Audio.Resampler.get();
    if (!resampler) return;
    for (;;) {
        const int pending = ff::swr_get_out_samples(resampler, 0);
        if (pending <= 0) break;
        AVFrame& out = ConvertedSamples(ost, pending);
        const int drained = ff::swr_convert(resampler, out.extended_data, out.nb_samples, nullptr, 0);
        if (drained <= 0) break;
        AppendToFifo(ost, out.extended_data, drained);
    }
}

// Decoded sound of another rate or channel layout than before: the converter made for the old
// sound gives up what it holds and is made again for the new one.
void TCustomFFmpeg::FollowSoundChange(OutputStreamState& ost, const InputStreamState& ist,
                                      const AVFrame& samples) {
    char layout[64] = "?";
    ff::av_channel_layout_describe(&samples.ch_layout, layout, sizeof layout);
    TFFLogger::Instance().Log(this, llInfo,
                              FormatText("Input Stream #%d.%d audio changed to %d Hz, %d channels, %s: "
                                         "the converter is made again",
                                         ist.FileIndex, ist.StreamIndex, samples.sample_rate,
                                         samples.ch_layout.nb_channels, layout));
    DrainResampler(ost);
    ost.Audio.Resampler.reset();
    ost.Audio.ReformatPair = -6;
}

// The end of the stream: the converter gives up the samples it holds back, the fifo is encoded
// to its last sample (a short last frame where the encoder takes one) and the encoder drained.
void TCustomFFmpeg::FlushAudioOut(OutputStreamState& ost) {
    DrainResampler(ost);
    EncodeAudioFifo(ost, true);
    // Encoders without frames of their own size (PCM) hold nothing back.
    if (ost.Output->Codec->frame_size > 1) WriteEncodedPackets(ost, nullptr);
}

// The stream's buffer for converted samples, able to hold `samples` samples.
AVFrame& TCustomFFmpeg::ConvertedSamples(OutputStreamState& ost, int samples) {
    return GrowSampleFrame(ost.Audio.ConvertedSamples, *ost.Output->Codec, samples);
}

// Encodes the fifo's samples in encoder frames. With `finalFrame` a remainder shorter than a
// frame is encoded too: as a short frame when the encoder takes one, else filled with silence.
void TCustomFFmpeg::EncodeAudioFifo(OutputStreamState& ost, bool finalFrame) {
    AVAudioFifo* fifo = ost.Audio.Fifo.get();
    if (!fifo) return;
    const AVCodecContext& encoder = *ost.Output->Codec;
    const int frameSize = encoder.frame_size;
    for (;;) {
        const int available = ff::av_audio_fifo_size(fifo);
        if (available <= 0) return;
        int samples = frameSize > 0 ? std::min(available, frameSize) : available;
        if (frameSize > 0 && available < frameSize && !finalFrame) return;
        AVFrame& frame = EncoderFrame(ost, frameSize > 0 ? frameSize : samples);
        const int capacity = frame.nb_samples;
        if (ff::av_audio_fifo_read(fifo, reinterpret_cast<void**>(frame.extended_data), samples) < samples)
            throw FFmpegException("Audio encoding failed");
        const bool shortFrame = frameSize > 0 && samples < frameSize;
        if (shortFrame && !(encoder.codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME)) {
            ff::av_samples_set_silence(frame.extended_data, samples, frameSize - samples,
                                       encoder.ch_layout.nb_channels, encoder.sample_fmt);
            samples = frameSize;
        }
        frame.nb_samples = samples;
        frame.pts = ost.SyncOpts;
        WriteEncodedPackets(ost, &frame);
        frame.nb_samples = capacity;
        ost.SyncOpts += samples;
    }
}

// The stream's frame for the encoder, writable and able to hold `samples` samples.
AVFrame& TCustomFFmpeg::EncoderFrame(OutputStreamState& ost, int samples) {
    AVFrame& frame = GrowSampleFrame(ost.Audio.EncoderFrame, *ost.Output->Codec, samples);
    // The encoder may still hold the previous frame's buffer.
    if (ff::av_frame_make_writable(&frame) < 0) throw FFmpegException("Out of memory in do_audio_out");
    return frame;
}

}  // namespace kestrova
