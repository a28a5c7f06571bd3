// The first steps of a run: the input and output tables, which input stream feeds each output
// stream, and what each output stream needs before its codec opens (stream copy parameters, or
// the scaler, fifo and two-pass log of re-encoding).
#include "engine/core/CustomFFmpeg.h"

#include "engine/core/FFmpegException.h"
#include "engine/core/run/RunTables.h"
#include "engine/frame/FFmpegLogger.h"
#include "engine/frame/Text.h"

#include <new>

namespace kestrova {

namespace {

bool IsFinerThan(AVRational a, AVRational b) {
    // a < b, both positive: a.num * b.den < b.num * a.den
    return static_cast<int64_t>(a.num) * b.den < static_cast<int64_t>(b.num) * a.den;
}

// The time base a decoder would count frames in: one frame of the stream's rate.
AVRational DecoderFrameTimeBase(const InputStreamState& ist) {
    const AVStream& stream = *ist.Stream;
    if (stream.codecpar->codec_type == AVMEDIA_TYPE_AUDIO && stream.codecpar->sample_rate > 0)
        return AVRational{1, stream.codecpar->sample_rate};
    if (ist.Decoder && ist.Decoder->framerate.num > 0 && ist.Decoder->framerate.den > 0)
        return AVRational{ist.Decoder->framerate.den, ist.Decoder->framerate.num};
    for (AVRational rate : {stream.avg_frame_rate, stream.r_frame_rate})
        if (rate.num > 0 && rate.den > 0) return AVRational{rate.den, rate.num};
    return AVRational{0, 1};
}

// A picture of the given format and size with its own buffer; null when it cannot be made.
FramePtr AllocatePicture(AVPixelFormat format, int width, int height) {
    FramePtr picture(ff::av_frame_alloc());
    if (!picture) return picture;
    picture->format = format;
    picture->width = width;
    picture->height = height;
    if (format == AV_PIX_FMT_NONE || width <= 0 || height <= 0 ||
        ff::av_frame_get_buffer(picture.get(), 0) < 0)
        picture.reset();
    return picture;
}

}  // namespace

const char* MediaKindName(AVMediaType kind) {
    switch (kind) {
        case AVMEDIA_TYPE_VIDEO:
            return "Video";
        case AVMEDIA_TYPE_AUDIO:
            return "Audio";
        case AVMEDIA_TYPE_DATA:
            return "Data";
        case AVMEDIA_TYPE_SUBTITLE:
            return "Subtitle";
        case AVMEDIA_TYPE_ATTACHMENT:
            return "Attachment";
        default:
            return "Unknown";
    }
}

void TCustomFFmpeg::BuildInputTables() {
    TRunTables& run = *FRunTables;
    const int64_t now = ff::av_gettime();
    for (int file = 0; file < FFiles.NbInputFiles; ++file) {
        AVFormatContext& input = *FFiles.InputFiles[file];
        TInputFileState& fileState = run.InputFiles.emplace_back();
        fileState.FirstStream = static_cast<int>(run.InputStreams.size());
        fileState.NbStreams = static_cast<int>(input.nb_streams);
        for (unsigned stream = 0; stream < input.nb_streams; ++stream) {
            InputStreamState& ist = run.InputStreams.emplace_back();
            ist.FileIndex = file;
            ist.StreamIndex = static_cast<int>(stream);
            ist.Stream = input.streams[stream];
            const auto& decoders = FFiles.InputStreamContexts[file];
            ist.Decoder = stream < decoders.size() ? decoders[stream].get() : nullptr;
            if (FRun.RateEmu) ist.StartTime = now;
            ist.Frame.reset(ff::av_frame_alloc());
            if (!ist.Frame) throw FFmpegException("av_mallocz fail");
        }
    }
    run.Packet.reset(ff::av_packet_alloc());
    run.CopyPacket.reset(ff::av_packet_alloc());
    if (!run.Packet || !run.CopyPacket) throw FFmpegException("av_mallocz fail");
}

void TCustomFFmpeg::BuildOutputTables() {
    TRunTables& run = *FRunTables;
    for (int entry = 0; entry < FOutputs.NbOutputFiles; ++entry) {
        TOutputFile& file = *FOutputs.Entries[entry];
        if (file.Streams.empty()) {
            ff::av_dump_format(file.Context.get(), entry, file.Context->url, 1);
            throw FFmpegException(FormatText("Output file #%d does not contain any stream", entry));
        }
        for (std::size_t stream = 0; stream < file.Streams.size(); ++stream) {
            OutputStreamState& ost = run.OutputStreams.emplace_back();
            ost.FileIndex = entry;
            ost.Index = static_cast<int>(stream);
            ost.File = &file;
            ost.Output = file.Streams[stream].get();
            ost.Encoder.Packet.reset(ff::av_packet_alloc());
            if (!ost.Encoder.Packet) throw FFmpegException("av_mallocz fail");
        }
    }
    run.StreamsPerSegment = FState.Join ? static_cast<int>(FOutputs.Entries[0]->Streams.size())
                                        : static_cast<int>(run.OutputStreams.size());

    if (FFiles.NbStreamMaps > 0 && FFiles.NbStreamMaps != static_cast<int>(run.OutputStreams.size()))
        throw FFmpegException("Number of stream maps must match number of output streams");
    const auto exists = [&run](int file, int stream) {
        return file >= 0 && file < static_cast<int>(run.InputFiles.size()) && stream >= 0 &&
               stream < run.InputFiles[file].NbStreams;
    };
    for (int i = 0; i < FFiles.NbStreamMaps; ++i) {
        const TStreamMap& map = FFiles.StreamMaps[i];
        if (!exists(map.FileIndex, map.StreamIndex))
            throw FFmpegException(
                    FormatText("Could not find input stream #%d.%d", map.FileIndex, map.StreamIndex));
        if (!exists(map.SyncFileIndex, map.SyncStreamIndex))
            throw FFmpegException(
                    FormatText("Could not find sync stream #%d.%d", map.SyncFileIndex, map.SyncStreamIndex));
    }
}

// The first input stream of `kind` no output stream has taken yet, among the streams of the
// chosen program of each input (or of input `onlyFile` alone); -1 when there is none.
int TCustomFFmpeg::FindProgramSource(AVMediaType kind, int onlyFile) const {
    const TRunTables& run = *FRunTables;
    for (int file = 0; file < static_cast<int>(run.InputFiles.size()); ++file) {
        if (onlyFile >= 0 && file != onlyFile) continue;
        const AVFormatContext& input = *FFiles.InputFiles[file];
        for (unsigned p = 0; p < input.nb_programs; ++p) {
            const AVProgram& program = *input.programs[p];
            if (program.id != FRun.ProgramId) continue;
            for (unsigned k = 0; k < program.nb_stream_indexes; ++k) {
                const int index =
                        run.InputFiles[file].FirstStream + static_cast<int>(program.stream_index[k]);
                const InputStreamState& ist = run.InputStreams[index];
                if (ist.Discard && ist.Stream->codecpar->codec_type == kind) return index;
            }
        }
    }
    return -1;
}

// The first unused input stream of `kind` (of input `onlyFile` alone when it is not -1); with
// `allowUsed`, else the last stream of that kind even if taken; -1 when there is none.
int TCustomFFmpeg::FindUnusedSource(AVMediaType kind, int onlyFile, bool allowUsed) const {
    const TRunTables& run = *FRunTables;
    int lastOfKind = -1;
    for (int index = 0; index < static_cast<int>(run.InputStreams.size()); ++index) {
        const InputStreamState& ist = run.InputStreams[index];
        if (onlyFile >= 0 && ist.FileIndex != onlyFile) continue;
        if (ist.Stream->codecpar->codec_type != kind) continue;
        if (ist.Discard) return index;
        lastOfKind = index;
    }
    return allowUsed ? lastOfKind : -1;
}

void TCustomFFmpeg::ChooseSources() {
    TRunTables& run = *FRunTables;
    const bool maps = FFiles.NbStreamMaps > 0;
    for (int i = 0; i < static_cast<int>(run.OutputStreams.size()); ++i) {
        OutputStreamState& ost = run.OutputStreams[i];
        const AVMediaType kind = ost.Output->Kind;
        if (maps) {
            const TStreamMap& map = FFiles.StreamMaps[i];
            ost.SourceIndex = run.InputFiles[map.FileIndex].FirstStream + map.StreamIndex;
            ost.SyncIndex = run.InputFiles[map.SyncFileIndex].FirstStream + map.SyncStreamIndex;
            const AVMediaType sourceKind = run.InputStreams[ost.SourceIndex].Stream->codecpar->codec_type;
            if (sourceKind != kind) {
                ff::av_dump_format(ost.File->Context.get(), ost.FileIndex, ost.File->Context->url, 1);
                throw FFmpegException(FormatText("Codec type mismatch for mapping #%d.%d (%s) -> #%d.%d (%s)",
                                                 map.FileIndex, map.StreamIndex, MediaKindName(sourceKind),
                                                 ost.FileIndex, ost.Index, MediaKindName(kind)));
            }
        } else {
            // A join output takes segment k's streams from input k alone.
            const int onlyFile = FState.Join ? ost.FileIndex : -1;
            int source = FRun.ProgramId != 0 ? FindProgramSource(kind, onlyFile)
                                             : FindUnusedSource(kind, onlyFile, !FState.Join);
            if (source < 0) {
                ff::av_dump_format(ost.File->Context.get(), ost.FileIndex, ost.File->Context->url, 1);
                throw FFmpegException(
                        FormatText("Could not find input stream matching output stream #%d.%d (%s)",
                                   ost.FileIndex, ost.Index, MediaKindName(kind)));
            }
            ost.SourceIndex = ost.SyncIndex = source;
        }
        run.InputStreams[ost.SourceIndex].Discard = false;
    }
}

// Whether this record prepares and opens the stream's codec: in join mode only the first
// segment's records do, as the later segments write through the same streams.
bool TCustomFFmpeg::OwnsOutputStream(int outputIndex) const {
    const TRunTables& run = *FRunTables;
    return !FState.Join || outputIndex < run.StreamsPerSegment;
}

void TCustomFFmpeg::PrepareOutputStreams() {
    TRunTables& run = *FRunTables;
    for (int i = 0; i < static_cast<int>(run.OutputStreams.size()); ++i) {
        OutputStreamState& ost = run.OutputStreams[i];
        InputStreamState& ist = run.InputStreams[ost.SourceIndex];
        const bool owner = OwnsOutputStream(i);
        if (owner) CopyStreamFacts(ost, ist);
        if (ost.Output->StreamCopy) {
            if (owner) PrepareStreamCopy(ost, ist);
            continue;
        }
        switch (ost.Output->Kind) {
            case AVMEDIA_TYPE_AUDIO:
                PrepareAudioEncoding(ost, ist);
                break;
            case AVMEDIA_TYPE_VIDEO:
                PrepareVideoEncoding(ost, ist);
                break;
            case AVMEDIA_TYPE_SUBTITLE:
                ost.EncodingNeeded = true;
                ist.DecodingNeeded = true;
                break;
            default:
                throw FFmpegException("invalid codec_type of output stream");
        }
        if (owner) OpenTwoPassLog(ost, i);
    }
}

// The language when the output has none, bits per raw sample and chroma location.
void TCustomFFmpeg::CopyStreamFacts(OutputStreamState& ost, const InputStreamState& ist) {
    AVStream& output = *ost.Output->Stream;
    const AVDictionaryEntry* language = ff::av_dict_get(ist.Stream->metadata, "language", nullptr, 0);
    if (language && !ff::av_dict_get(output.metadata, "language", nullptr, 0))
        ff::av_dict_set(&output.metadata, "language", language->value, 0);
    AVCodecContext& codec = *ost.Output->Codec;
    codec.bits_per_raw_sample = ist.Stream->codecpar->bits_per_raw_sample;
    codec.chroma_sample_location = ist.Stream->codecpar->chroma_location;
}

void TCustomFFmpeg::PrepareStreamCopy(OutputStreamState& ost, const InputStreamState& ist) {
    const AVCodecParameters& input = *ist.Stream->codecpar;
    AVStream& output = *ost.Output->Stream;
    AVCodecContext& codec = *ost.Output->Codec;
    switch (input.codec_type) {
        case AVMEDIA_TYPE_VIDEO:
            if (FState.HooksInUse)
                throw FFmpegException("-vcodec copy and -vhook are incompatible (frames are not decoded)");
            if (PreviewFlags() != 0)
                throw FFmpegException("-vcodec copy and PostHooks are incompatible (frames are not decoded)");
            break;
        case AVMEDIA_TYPE_AUDIO:
            // The pending volume, read here on purpose: the one the decoded audio will get.
            if (FAudio.Volume != 256)
                throw FFmpegException("-acodec copy and -vol are incompatible (frames are not decoded)");
            // The copy would carry the header's nonsense into a file that nothing plays.
            if (input.ch_layout.nb_channels <= 0 || input.sample_rate <= 0)
                throw FFmpegException(FormatText("Audio stream #%d.%d has no channels or no sample rate: it "
                                                 "cannot be copied",
                                                 ist.FileIndex, ist.StreamIndex));
            break;
        case AVMEDIA_TYPE_SUBTITLE:
            break;
        default:
            throw FFmpegException("invalid codec_type of output stream");
    }

    // A tag asked for by option wins; otherwise the input's, unless this format's tag table
    // gives that tag to another codec.
    const uint32_t askedTag = codec.codec_tag;
    const AVRational askedAspect = codec.sample_aspect_ratio;
    AVCodecParameters& parameters = *output.codecpar;
    if (ff::avcodec_parameters_copy(&parameters, &input) < 0) throw FFmpegException("av_mallocz fail");
    const AVCodecTag* const* tags = ost.File->Context->oformat->codec_tag;
    const bool keepInputTag = !tags || ff::av_codec_get_id(tags, input.codec_tag) == input.codec_id ||
                              ff::av_codec_get_tag(tags, input.codec_id) <= 0;
    parameters.codec_tag = askedTag ? askedTag : (keepInputTag ? input.codec_tag : 0);
    if (input.codec_type == AVMEDIA_TYPE_AUDIO &&
        ((input.codec_id == AV_CODEC_ID_MP3 && input.block_align == 1) || input.codec_id == AV_CODEC_ID_AC3))
        parameters.block_align = 0;
    if (input.codec_type == AVMEDIA_TYPE_VIDEO) {
        if (askedAspect.num > 0 && askedAspect.den > 0) parameters.sample_aspect_ratio = askedAspect;
        output.sample_aspect_ratio = parameters.sample_aspect_ratio;
        output.avg_frame_rate = ist.Stream->avg_frame_rate;
        output.r_frame_rate = ist.Stream->r_frame_rate;
    }

    // A frame of the decoder when the stream counts finer than that and finer than 1 ms,
    // else the stream's own time base; a hint for the muxer, which has the last word.
    const AVRational frameTimeBase = DecoderFrameTimeBase(ist);
    AVRational timeBase = ist.Stream->time_base;
    if (frameTimeBase.num > 0 && IsFinerThan(timeBase, frameTimeBase) &&
        IsFinerThan(timeBase, AVRational{1, 1000}))
        timeBase = frameTimeBase;
    codec.time_base = timeBase;
    output.time_base = timeBase;
    codec.codec_id = input.codec_id;
    codec.codec_type = input.codec_type;
}

void TCustomFFmpeg::PrepareAudioEncoding(OutputStreamState& ost, InputStreamState& ist) {
    AVCodecContext& encoder = *ost.Output->Codec;
    ost.Audio.Fifo.reset(ff::av_audio_fifo_alloc(encoder.sample_fmt, encoder.ch_layout.nb_channels, 1024));
    if (!ost.Audio.Fifo) throw FFmpegException("av_fifo_alloc fail");
    ost.Audio.Resample = ist.Stream->codecpar->sample_rate != encoder.sample_rate || FRun.AudioSyncMethod > 1;
    ost.EncodingNeeded = true;
    ist.DecodingNeeded = true;
}

void TCustomFFmpeg::PrepareVideoEncoding(OutputStreamState& ost, InputStreamState& ist) {
    const AVCodecContext& decoder = *ist.Decoder;
    const AVCodecContext& encoder = *ost.Output->Codec;
    if (decoder.pix_fmt == AV_PIX_FMT_NONE)
        throw FFmpegException("Video pixel format is unknown, stream cannot be decoded");

    TVideoOutState& video = ost.Video;
    // The crop and pad bands are the pending ones at the start of the run: the last values set,
    // whichever output was added after them.
    video.CropBands = TPictureBands{FVideo.CropTop, FVideo.CropBottom, FVideo.CropLeft, FVideo.CropRight};
    video.OriginalCropBands = video.CropBands;
    video.Crop = video.CropBands.Any();
    video.PadBands = TPictureBands{FVideo.PadTop, FVideo.PadBottom, FVideo.PadLeft, FVideo.PadRight};
    video.Pad = video.PadBands.Any();

    const int croppedWidth = decoder.width - video.CropBands.Width();
    const int croppedHeight = decoder.height - video.CropBands.Height();
    const int unpaddedWidth = encoder.width - video.PadBands.Width();
    const int unpaddedHeight = encoder.height - video.PadBands.Height();
    video.Resample = !(croppedWidth == unpaddedWidth && croppedHeight == unpaddedHeight &&
                       decoder.pix_fmt == encoder.pix_fmt);

    if (video.Pad && !video.Resample) {
        video.TempPicture = AllocatePicture(encoder.pix_fmt, encoder.width, encoder.height);
        if (!video.TempPicture) throw FFmpegException("avpicture_alloc fail");
    }
    if (video.Resample) {
        video.TempPicture = AllocatePicture(encoder.pix_fmt, encoder.width, encoder.height);
        if (!video.TempPicture) throw FFmpegException("Cannot allocate temp picture, check pix fmt");
        FRun.ScalerFlags = FOptions.ScalerFlags();
        video.Scaler.reset(ff::sws_getContext(croppedWidth, croppedHeight, decoder.pix_fmt, unpaddedWidth,
                                              unpaddedHeight, encoder.pix_fmt, FRun.ScalerFlags, nullptr,
                                              nullptr, nullptr));
        if (!video.Scaler) throw FFmpegException("Cannot get resampling context");
    }
    video.ResampleWidth = croppedWidth;
    video.ResampleHeight = croppedHeight;
    video.ResamplePixelFormat = decoder.pix_fmt;
    video.OriginalWidth = decoder.width;
    video.OriginalHeight = decoder.height;
    ost.EncodingNeeded = true;
    ist.DecodingNeeded = true;

    if (FState.UseFilters && ConfigureFilters(ist, ost) < 0)
        throw FFmpegException(FLastError.empty() ? std::string("Error opening filters!")
                                                 : "Error opening filters: " + FLastError);
}

void TCustomFFmpeg::OpenTwoPassLog(OutputStreamState& ost, int outputIndex) {
    AVCodecContext& encoder = *ost.Output->Codec;
    if (!(encoder.flags & (AV_CODEC_FLAG_PASS1 | AV_CODEC_FLAG_PASS2))) return;
    // The pending log file prefix, as set when the run starts.
    const std::string name = TwoPassLogName(FVideo.PassLogFile, outputIndex);
    if (encoder.flags & AV_CODEC_FLAG_PASS1) {
        ost.Encoder.PassLog = CreatePassOneLog(name);
        if (!ost.Encoder.PassLog)
            throw FFmpegException(FormatText("Cannot write log file %s for pass-1 encoding", name.c_str()));
        return;
    }
    try {
        if (!ReadPassTwoLog(name, ost.Encoder.StatsIn))
            throw FFmpegException(FormatText("Cannot read log file %s for pass-2 encoding", name.c_str()));
    } catch (const std::bad_alloc&) {
        throw FFmpegException("Could not allocate log buffer");
    }
    // The text stays ours: the encoder only reads it, and the tear-down takes it back.
    encoder.stats_in = ost.Encoder.StatsIn.data();
}

}  // namespace kestrova
