// Output streams made from the pending settings: video, audio and subtitle, for a new output
// file and for the options "newvideo", "newaudio" and "newsubtitle".
#include "engine/core/CustomFFmpeg.h"

#include "engine/core/FFmpegException.h"
#include "engine/core/options/RateControlOverride.h"
#include "engine/core/video/SampleAspect.h"

#include <bit>
#include <cstring>

namespace kestrova {

namespace {

// "vglobal" bits: 1 asks for global headers, 2 for local headers as well.
constexpr int kGlobalHeaderBit = 1;
constexpr int kLocalHeaderBit = 2;
constexpr AVRational kDefaultFrameRate{25, 1};

const AVCodec* FindEncoderByName(AVMediaType kind, const std::string& name) {
    const AVCodec* encoder = ff::avcodec_find_encoder_by_name(name.c_str());
    if (!encoder) throw FFmpegException("Unknown encoder '" + name + "'");
    if (encoder->type != kind) throw FFmpegException("Invalid encoder type '" + name + "'");
    return encoder;
}

struct TEncoderChoice {
    const AVCodec* Encoder = nullptr;  // the encoder to configure the context for (may be null)
    const AVCodec* ByName = nullptr;   // set when the name chose it
    AVCodecID Id = AV_CODEC_ID_NONE;
};

// The encoder named for the kind, else the format's choice for the file name.
TEncoderChoice ChooseEncoder(AVMediaType kind, const std::string& name, const AVFormatContext& file) {
    TEncoderChoice choice;
    if (!name.empty()) {
        choice.Encoder = choice.ByName = FindEncoderByName(kind, name);
        choice.Id = choice.Encoder->id;
        return choice;
    }
    choice.Id = ff::av_guess_codec(file.oformat, nullptr, file.url, nullptr, kind);
    choice.Encoder = ff::avcodec_find_encoder(choice.Id);
    return choice;
}

void KeepEncoderOptions(TOutputStream& stream, const AVDictionary* kept) {
    if (!kept) return;
    AVDictionary* raw = stream.EncoderOptions.release();
    ff::av_dict_copy(&raw, kept, 0);
    stream.EncoderOptions.reset(raw);
}

uint16_t* CopyMatrix(const TQuantMatrix& matrix) {
    auto* copy = static_cast<uint16_t*>(ff::av_malloc(sizeof(matrix)));
    if (!copy) throw FFmpegException("Could not allocate quantiser matrix");
    std::memcpy(copy, matrix.data(), sizeof(matrix));
    return copy;
}

// The full-range twin of a limited-range YUV format (yuvj420p for yuv420p); none for others.
AVPixelFormat FullRangeTwin(AVPixelFormat format) {
    switch (format) {
        case AV_PIX_FMT_YUV420P:
            return AV_PIX_FMT_YUVJ420P;
        case AV_PIX_FMT_YUV422P:
            return AV_PIX_FMT_YUVJ422P;
        case AV_PIX_FMT_YUV444P:
            return AV_PIX_FMT_YUVJ444P;
        case AV_PIX_FMT_YUV440P:
            return AV_PIX_FMT_YUVJ440P;
        case AV_PIX_FMT_YUV411P:
            return AV_PIX_FMT_YUVJ411P;
        default:
            return AV_PIX_FMT_NONE;
    }
}

// The pending pixel format, or the encoder's first when the encoder lists its formats and the
// pending one is not among them. An encoder that lists the full-range twin of the pending format
// before the format itself (JPEG encoders, which open limited-range pictures only under relaxed
// compliance) gets the twin: the scaler then converts the range.
AVPixelFormat ChoosePixelFormat(const AVCodec* encoder, int pending) {
    const auto wanted = static_cast<AVPixelFormat>(pending);
    if (!encoder || !encoder->pix_fmts) return wanted;
    const AVPixelFormat twin = FullRangeTwin(wanted);
    for (const AVPixelFormat* format = encoder->pix_fmts; *format != AV_PIX_FMT_NONE; ++format) {
        if (*format == wanted) return wanted;
        if (twin != AV_PIX_FMT_NONE && *format == twin) return twin;
    }
    return encoder->pix_fmts[0];
}

AVSampleFormat ChooseSampleFormat(const AVCodec* encoder, int pending) {
    const auto wanted = static_cast<AVSampleFormat>(pending);
    if (!encoder || !encoder->sample_fmts) return wanted;
    for (const AVSampleFormat* format = encoder->sample_fmts; *format != AV_SAMPLE_FMT_NONE; ++format)
        if (*format == wanted) return wanted;
    return encoder->sample_fmts[0];
}

// The pending layout when it has as many channels as asked for; otherwise the usual layout of
// that many channels (an unknown layout, as the encoders of today need one).
void SetChannelLayout(AVCodecContext& codec, int64_t pendingMask, int channels) {
    ff::av_channel_layout_uninit(&codec.ch_layout);
    const auto mask = static_cast<uint64_t>(pendingMask);
    if (mask != 0 && std::popcount(mask) == channels &&
        ff::av_channel_layout_from_mask(&codec.ch_layout, mask) == 0)
        return;
    ff::av_channel_layout_default(&codec.ch_layout, channels);
}

}  // namespace

std::unique_ptr<TOutputStream> TCustomFFmpeg::NewStreamRecord(AVMediaType kind, const AVCodec* encoder) {
    auto stream = std::make_unique<TOutputStream>();
    stream->Kind = kind;
    stream->Codec.reset(ff::avcodec_alloc_context3(encoder));
    if (!stream->Codec) throw FFmpegException("Could not alloc stream");
    stream->Codec->codec_type = kind;
    stream->Codec->thread_count = FRun.ThreadCount;
    return stream;
}

// Puts the stream on the file: the library stream, the bitstream filter chain of its kind (the
// next stream of the kind starts without one), the language, the output codec table entry.
void TCustomFFmpeg::AttachStream(TOutputFile& file, std::unique_ptr<TOutputStream> stream,
                                 std::string& language) {
    AVStream* libraryStream = ff::avformat_new_stream(file.Context.get(), nullptr);
    if (!libraryStream) throw FFmpegException("Could not alloc stream");
    stream->Stream = libraryStream;
    libraryStream->sample_aspect_ratio = stream->Codec->sample_aspect_ratio;
    libraryStream->time_base = stream->Codec->time_base;  // a hint; the muxer decides
    TBitstreamFilterChain* chain = stream->Kind == AVMEDIA_TYPE_VIDEO   ? &FBitstreamFilters.Video
                                   : stream->Kind == AVMEDIA_TYPE_AUDIO ? &FBitstreamFilters.Audio
                                                                        : &FBitstreamFilters.Subtitle;
    stream->BitstreamFilters = std::move(*chain);
    chain->clear();
    if (!language.empty()) ff::av_dict_set(&libraryStream->metadata, "language", language.c_str(), 0);
    language.clear();
    RecordOutputCodec(stream->Encoder);
    file.Streams.push_back(std::move(stream));
}

void TCustomFFmpeg::RecordOutputCodec(const AVCodec* encoder) {
    if (FFiles.NbOutputCodecs < kMaxCodecEntries) FFiles.OutputCodecs[FFiles.NbOutputCodecs++] = encoder;
}

void TCustomFFmpeg::NewVideoStream(TOutputFile& file) {
    const AVOutputFormat& format = *file.Context->oformat;
    TEncoderChoice choice;
    if (!FVideo.StreamCopy) choice = ChooseEncoder(AVMEDIA_TYPE_VIDEO, FVideo.CodecName, *file.Context);
    std::unique_ptr<TOutputStream> stream = NewStreamRecord(AVMEDIA_TYPE_VIDEO, choice.Encoder);
    AVCodecContext& codec = *stream->Codec;
    if (FVideo.CodecTag) codec.codec_tag = FVideo.CodecTag;

    // Global headers on the default context too, so that copying "flags" from it keeps them.
    AVCodecContext* defaults = FOptions.CodecDefaults(AVMEDIA_TYPE_VIDEO);
    if ((FVideo.GlobalHeader & kGlobalHeaderBit) ||
        (FVideo.GlobalHeader == 0 && (format.flags & AVFMT_GLOBALHEADER))) {
        codec.flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if (defaults) defaults->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    if (FVideo.GlobalHeader & kLocalHeaderBit) {
        codec.flags2 |= AV_CODEC_FLAG2_LOCAL_HEADER;
        if (defaults) defaults->flags2 |= AV_CODEC_FLAG2_LOCAL_HEADER;
    }

    if (FVideo.StreamCopy) {
        stream->StreamCopy = true;
        codec.sample_aspect_ratio =
                SampleAspectRatio(FVideo.FrameAspectRatio, FVideo.FrameWidth, FVideo.FrameHeight);
    } else {
        stream->Encoder = choice.ByName;
        codec.codec_id = choice.Id;
        ApplyVideoEncoding(*stream);
    }
    AttachStream(file, std::move(stream), FVideo.Language);
    FVideo.Disable = false;
    FVideo.CodecName.clear();
    FVideo.StreamCopy = false;
}

void TCustomFFmpeg::ApplyVideoEncoding(TOutputStream& stream) {
    AVCodecContext& codec = *stream.Codec;
    const AVCodec* encoder = codec.codec;
    FOptions.CopyCodecOptions(AVMEDIA_TYPE_VIDEO, &codec, kVideoEncoderFlags);
    KeepEncoderOptions(stream, FOptions.EncoderPrivateOptions(AVMEDIA_TYPE_VIDEO));

    AVRational rate = FVideo.FrameRate.num && FVideo.FrameRate.den ? FVideo.FrameRate : kDefaultFrameRate;
    if (encoder && encoder->supported_framerates && !FVideo.ForceFps)
        rate = encoder->supported_framerates[ff::av_find_nearest_q_idx(rate, encoder->supported_framerates)];
    codec.time_base = AVRational{rate.den, rate.num};
    codec.framerate = rate;
    codec.width = FVideo.FrameWidth + FVideo.PadLeft + FVideo.PadRight;
    codec.height = FVideo.FrameHeight + FVideo.PadTop + FVideo.PadBottom;
    codec.sample_aspect_ratio = SampleAspectRatio(FVideo.FrameAspectRatio, codec.width, codec.height);
    codec.pix_fmt = ChoosePixelFormat(encoder, FVideo.PixelFormat);

    if (FVideo.IntraOnly) codec.gop_size = 0;
    if (FVideo.QScale != 0 || FVideo.SameQuality) {
        codec.flags |= AV_CODEC_FLAG_QSCALE;
        codec.global_quality = static_cast<int>(FF_QP2LAMBDA * FVideo.QScale);
    }
    if (FVideo.IntraMatrix) codec.intra_matrix = CopyMatrix(*FVideo.IntraMatrix);
    if (FVideo.InterMatrix) codec.inter_matrix = CopyMatrix(*FVideo.InterMatrix);
    AttachRateControlOverride(codec, ParseRateControlOverride(FVideo.RcOverride));
    if (codec.rc_initial_buffer_occupancy == 0)
        codec.rc_initial_buffer_occupancy = static_cast<int>(int64_t{codec.rc_buffer_size} * 3 / 4);
    // The motion-estimation threshold has no counterpart in today's encoders; it only marks the
    // decoders (see AddInputFile).
    codec.intra_dc_precision = FVideo.IntraDcPrecision - 8;
    if (FVideo.Psnr) codec.flags |= AV_CODEC_FLAG_PSNR;
    if (FVideo.Pass == 1) codec.flags |= AV_CODEC_FLAG_PASS1;
    if (FVideo.Pass == 2) codec.flags |= AV_CODEC_FLAG_PASS2;
}

void TCustomFFmpeg::NewAudioStream(TOutputFile& file) {
    const AVOutputFormat& format = *file.Context->oformat;
    TEncoderChoice choice;
    if (!FAudio.StreamCopy) choice = ChooseEncoder(AVMEDIA_TYPE_AUDIO, FAudio.CodecName, *file.Context);
    std::unique_ptr<TOutputStream> stream = NewStreamRecord(AVMEDIA_TYPE_AUDIO, choice.Encoder);
    AVCodecContext& codec = *stream->Codec;
    if (FAudio.CodecTag) codec.codec_tag = FAudio.CodecTag;
    if (format.flags & AVFMT_GLOBALHEADER) {
        codec.flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if (AVCodecContext* defaults = FOptions.CodecDefaults(AVMEDIA_TYPE_AUDIO))
            defaults->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    if (FAudio.StreamCopy) {
        stream->StreamCopy = true;
        ff::av_channel_layout_uninit(&codec.ch_layout);
        ff::av_channel_layout_default(&codec.ch_layout, FAudio.Channels);
    } else {
        stream->Encoder = choice.ByName;
        codec.codec_id = choice.Id;
        ApplyAudioEncoding(*stream);
    }
    codec.sample_rate = FAudio.SampleRate;
    codec.time_base = AVRational{1, FAudio.SampleRate};
    AttachStream(file, std::move(stream), FAudio.Language);
    FAudio.Disable = false;
    FAudio.CodecName.clear();
    FAudio.StreamCopy = false;
}

void TCustomFFmpeg::ApplyAudioEncoding(TOutputStream& stream) {
    AVCodecContext& codec = *stream.Codec;
    FOptions.CopyCodecOptions(AVMEDIA_TYPE_AUDIO, &codec, kAudioEncoderFlags);
    KeepEncoderOptions(stream, FOptions.EncoderPrivateOptions(AVMEDIA_TYPE_AUDIO));
    if (FAudio.QScale > -99999) {
        codec.flags |= AV_CODEC_FLAG_QSCALE;
        codec.global_quality = static_cast<int>(FF_QP2LAMBDA * FAudio.QScale);
    }
    codec.thread_count = FRun.ThreadCount;
    SetChannelLayout(codec, FAudio.ChannelLayout, FAudio.Channels);
    codec.sample_fmt = ChooseSampleFormat(codec.codec, FAudio.SampleFormat);
}

void TCustomFFmpeg::NewSubtitleStream(TOutputFile& file) {
    const AVCodec* encoder = nullptr;
    if (!FSubtitle.StreamCopy && !FSubtitle.CodecName.empty())
        encoder = FindEncoderByName(AVMEDIA_TYPE_SUBTITLE, FSubtitle.CodecName);
    std::unique_ptr<TOutputStream> stream = NewStreamRecord(AVMEDIA_TYPE_SUBTITLE, encoder);
    AVCodecContext& codec = *stream->Codec;
    if (FSubtitle.CodecTag) codec.codec_tag = FSubtitle.CodecTag;
    if (FSubtitle.StreamCopy) {
        stream->StreamCopy = true;
    } else {
        FOptions.CopyCodecOptions(AVMEDIA_TYPE_SUBTITLE, &codec, kSubtitleEncoderFlags);
        KeepEncoderOptions(*stream, FOptions.EncoderPrivateOptions(AVMEDIA_TYPE_SUBTITLE));
        stream->Encoder = encoder;
        codec.codec_id = encoder ? encoder->id : AV_CODEC_ID_NONE;
    }
    AttachStream(file, std::move(stream), FSubtitle.Language);
    FSubtitle.Disable = false;
    FSubtitle.CodecName.clear();
    FSubtitle.StreamCopy = false;
}

void TCustomFFmpeg::AddNewStreamOption(const std::string&, AVMediaType kind) {
    TOutputFile* file = OutputFile(FOutputs.NbOutputFiles - 1);
    if (!file) throw FFmpegException("At least one output file must be specified");
    switch (kind) {
        case AVMEDIA_TYPE_VIDEO:
            NewVideoStream(*file);
            break;
        case AVMEDIA_TYPE_AUDIO:
            NewAudioStream(*file);
            break;
        case AVMEDIA_TYPE_SUBTITLE:
            NewSubtitleStream(*file);
            break;
        default:
            throw FFmpegException("invalid codec_type");
    }
}

}  // namespace kestrova
