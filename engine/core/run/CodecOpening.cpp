// Opening the run's encoders and decoders under the codec lock, re-opening the encoders when a
// join output moves on to its next input, and closing whatever is open when the run ends.
#include "engine/core/CustomFFmpeg.h"

#include "engine/core/FFmpegException.h"
#include "engine/core/run/RunTables.h"
#include "engine/frame/FFmpegLoader.h"
#include "engine/frame/Text.h"

#include <mutex>

namespace kestrova {

namespace {

// A copy of kept options for one open call (the call consumes what it recognises).
DictionaryPtr CopyOptions(const DictionaryPtr& kept) {
    AVDictionary* copy = nullptr;
    if (kept) ff::av_dict_copy(&copy, kept.get(), 0);
    return DictionaryPtr(copy);
}

// Pictures up to the size of 576-line video: per picture, what this run's own thread does
// (decoding, the sound, muxing) weighs much beside the encoding.
constexpr int kSmallPicturePixels = 720 * 576;

// The thread count for a codec given the run's share of the cores (CodecCoreShare.cpp). An
// encoder that works on several frames at once (x264's frame threads) gets more threads than
// cores when it has more than one: it waits for its oldest frame on every picture it takes, and
// the cores would idle while this run's own thread works. For small pictures that thread's work
// weighs most, and two threads a core keep the cores busy; for larger ones the encoding weighs
// most, a further thread no longer shortens the run, and each holds frames of its own (about 12 MB
// at 1280x720): one and a half threads a core. With one core the count stays one, so that tasks
// running side by side do not take each other's cores.
int CodecThreadsFor(const AVCodec& codec, const AVCodecContext& context, int cores) {
    const bool framesAtOnce =
            ff::av_codec_is_encoder(&codec) &&
            (codec.capabilities & (AV_CODEC_CAP_FRAME_THREADS | AV_CODEC_CAP_OTHER_THREADS));
    if (!framesAtOnce || cores < 2) return cores;
    const bool smallPictures = int64_t{context.width} * context.height <= kSmallPicturePixels;
    return smallPictures ? 2 * cores : cores + cores / 2;
}

// The run's share of the cores, when it has one, replaces the options' thread count.
int OpenCodec(AVCodecContext& context, const AVCodec& codec, const DictionaryPtr& options, int cores) {
    if (cores > 0) context.thread_count = CodecThreadsFor(codec, context, cores);
    DictionaryPtr copy = CopyOptions(options);
    AVDictionary* raw = copy.release();
    int result = 0;
    {
        std::lock_guard lock(CodecLock());
        result = ff::avcodec_open2(&context, &codec, &raw);
    }
    copy.reset(raw);
    return result;
}

// A quantiser matrix or rate-control table the context owns: each context needs its own copy.
template <class T>
T* DuplicateArray(const T* source, std::size_t count) {
    if (!source || count == 0) return nullptr;
    auto* copy = static_cast<T*>(ff::av_malloc(sizeof(T) * count));
    if (!copy) throw FFmpegException("av_mallocz fail");
    std::copy(source, source + count, copy);
    return copy;
}

// A fresh encoder context set up like `old` (which has been opened and drained).
CodecContextPtr CloneEncoderSettings(const AVCodecContext& old, const AVCodec& codec) {
    CodecContextPtr fresh(ff::avcodec_alloc_context3(&codec));
    if (!fresh) throw FFmpegException("av_mallocz fail");
    // Every generic option (bit rate, flags, GOP, quantisers, ...), then what is not an option.
    if (ff::av_opt_copy(fresh.get(), &old) < 0) throw FFmpegException("av_mallocz fail");
    AVCodecContext& to = *fresh;
    to.codec_tag = old.codec_tag;
    to.time_base = old.time_base;
    to.framerate = old.framerate;
    to.width = old.width;
    to.height = old.height;
    to.pix_fmt = old.pix_fmt;
    to.sample_aspect_ratio = old.sample_aspect_ratio;
    to.sample_fmt = old.sample_fmt;
    to.sample_rate = old.sample_rate;
    ff::av_channel_layout_uninit(&to.ch_layout);
    if (ff::av_channel_layout_copy(&to.ch_layout, &old.ch_layout) < 0)
        throw FFmpegException("av_mallocz fail");
    to.bits_per_raw_sample = old.bits_per_raw_sample;
    to.chroma_sample_location = old.chroma_sample_location;
    to.thread_count = old.thread_count;
    to.global_quality = old.global_quality;
    to.intra_matrix = DuplicateArray(old.intra_matrix, 64);
    to.inter_matrix = DuplicateArray(old.inter_matrix, 64);
    to.rc_override =
            DuplicateArray(old.rc_override, static_cast<std::size_t>(std::max(old.rc_override_count, 0)));
    to.rc_override_count = to.rc_override ? old.rc_override_count : 0;
    return fresh;
}

}  // namespace

// In join mode the streams of a later segment use the first segment's record for their encoder.
OutputStreamState& TCustomFFmpeg::EncoderOwner(OutputStreamState& ost) {
    TRunTables& run = *FRunTables;
    if (!FState.Join || run.StreamsPerSegment <= 0) return ost;
    const auto index = static_cast<int>(&ost - run.OutputStreams.data());
    return run.OutputStreams[index % run.StreamsPerSegment];
}

std::string TCustomFFmpeg::OpenEncoders() {
    TRunTables& run = *FRunTables;
    for (int i = 0; i < static_cast<int>(run.OutputStreams.size()); ++i) {
        OutputStreamState& ost = run.OutputStreams[i];
        if (!ost.EncodingNeeded || !OwnsOutputStream(i)) continue;
        TOutputStream& output = *ost.Output;
        AVCodecContext& context = *output.Codec;
        const AVCodec* codec = output.Encoder ? output.Encoder : ff::avcodec_find_encoder(context.codec_id);
        if (!codec)
            return FormatText("Encoder (codec id %d) not found for output stream #%d.%d (%s)",
                              static_cast<int>(context.codec_id), ost.FileIndex, ost.Index,
                              MediaKindName(output.Kind));
        if (OpenCodec(context, *codec, output.EncoderOptions, FState.CodecCores) < 0)
            return FormatText("Error while opening encoder for output stream #%d.%d (%s) - maybe incorrect "
                              "parameters such as bit_rate, rate, width or height",
                              ost.FileIndex, ost.Index, MediaKindName(output.Kind));
        ost.Encoder.Open = true;
        ost.Encoder.SavedId = codec->id;
        FStatistics.ExtraSize += context.extradata_size;
        // The muxer learns the stream from the open encoder.
        if (ff::avcodec_parameters_from_context(output.Stream->codecpar, &context) < 0)
            return FormatText("Error while opening encoder for output stream #%d.%d (%s) - maybe incorrect "
                              "parameters such as bit_rate, rate, width or height",
                              ost.FileIndex, ost.Index, MediaKindName(output.Kind));
        output.Stream->time_base = context.time_base;
        if (output.Kind == AVMEDIA_TYPE_VIDEO) output.Stream->avg_frame_rate = context.framerate;
    }
    return {};
}

std::string TCustomFFmpeg::OpenDecoders() {
    TRunTables& run = *FRunTables;
    for (int i = 0; i < static_cast<int>(run.InputStreams.size()); ++i) {
        InputStreamState& ist = run.InputStreams[i];
        if (!ist.DecodingNeeded || ist.DecoderOpen) continue;
        const AVMediaType kind = ist.Stream->codecpar->codec_type;
        const AVCodec* codec = i < FFiles.NbInputCodecs ? FFiles.InputCodecs[i] : nullptr;
        if (!codec && ist.Decoder) codec = ff::avcodec_find_decoder(ist.Decoder->codec_id);
        if (!codec || !ist.Decoder)
            return FormatText("Decoder (codec id %d) not found for input stream #%d.%d (%s)",
                              static_cast<int>(ist.Stream->codecpar->codec_id), ist.FileIndex,
                              ist.StreamIndex, MediaKindName(kind));
        if (OpenCodec(*ist.Decoder, *codec, nullptr, FState.CodecCores) < 0)
            return FormatText("Error while opening decoder for input stream #%d.%d (%s)", ist.FileIndex,
                              ist.StreamIndex, MediaKindName(kind));
        ist.DecoderOpen = true;
    }
    return {};
}

// Join switching: the first segment's encoders (drained at the end of the input that ended)
// start afresh with the same settings. A drained encoder takes no more frames, so its
// replacement is a new context set up like it.
void TCustomFFmpeg::ReopenEncoders() {
    TRunTables& run = *FRunTables;
    for (int i = 0; i < run.StreamsPerSegment; ++i) {
        OutputStreamState& ost = run.OutputStreams[i];
        if (!ost.EncodingNeeded || !ost.Encoder.Open) continue;
        TOutputStream& output = *ost.Output;
        const AVCodec* codec =
                output.Encoder ? output.Encoder : ff::avcodec_find_encoder(ost.Encoder.SavedId);
        if (!codec)
            throw FFmpegException(FormatText("Unsupported codec for output stream #%d.%d (%s)", ost.FileIndex,
                                             ost.Index, MediaKindName(output.Kind)));
        CodecContextPtr fresh = CloneEncoderSettings(*output.Codec, *codec);
        if (!ost.Encoder.StatsIn.empty()) fresh->stats_in = ost.Encoder.StatsIn.data();
        {
            std::lock_guard lock(CodecLock());
            output.Codec->stats_in = nullptr;  // ours, not the context's
            output.Codec.reset();
            ost.Encoder.Open = false;
        }
        output.Codec = std::move(fresh);
        if (OpenCodec(*output.Codec, *codec, output.EncoderOptions, FState.CodecCores) < 0)
            throw FFmpegException(
                    FormatText("Error while opening codec for output stream #%d.%d (%s) - maybe "
                               "incorrect parameters such as bit_rate, rate, width or height",
                               ost.FileIndex, ost.Index, MediaKindName(output.Kind)));
        ost.Encoder.Open = true;
    }
}

// Closes every encoder and decoder the run opened; safe after any failure, and a second call
// finds nothing left to close.
void TCustomFFmpeg::CloseOpenCodecs() {
    if (!FRunTables) return;
    std::lock_guard lock(CodecLock());
    for (OutputStreamState& ost : FRunTables->OutputStreams) {
        if (!ost.Encoder.Open) continue;
        AVCodecContext* context = ost.Output->Codec.get();
        context->stats_in = nullptr;
        ff::avcodec_close(context);
        ost.Encoder.Open = false;
    }
    for (InputStreamState& ist : FRunTables->InputStreams) {
        if (!ist.DecoderOpen) continue;
        ff::avcodec_close(ist.Decoder);
        ist.DecoderOpen = false;
    }
}

}  // namespace kestrova
