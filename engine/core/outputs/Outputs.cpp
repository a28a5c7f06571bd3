// Adding an output file: its format, its streams from the pending settings, its metadata and
// muxer options, opening the file, and join mode.
#include "engine/core/CustomFFmpeg.h"

#include "engine/core/FFmpegException.h"
#include "engine/core/options/OptionValues.h"
#include "engine/frame/FFmpegLoader.h"
#include "engine/frame/InputErrors.h"
#include "engine/frame/Text.h"
#include "engine/frame/UnicodeProtocol.h"

#include <sys/stat.h>
#include <algorithm>
#include <cctype>
#include <ctime>
#include <filesystem>
#include <sstream>

namespace kestrova {

namespace {

constexpr char kPadWithResizeMessage[] =
        "Cannot enable pad options and the filters which resize frame at the same time. "
        "(crop, rotate, scale, transpose, etc.)";

// True when the filter chain text names a filter that changes the frame size.
bool NamesResizingFilter(const std::string& chain) {
    std::string lower = chain;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    std::istringstream items(lower);
    std::string item;
    while (std::getline(items, item, ',')) {
        const std::string name = Trimmed(item.substr(0, item.find('=')));
        if (name == "crop" || name == "rotate" || name == "scale" || name == "transpose") return true;
    }
    return false;
}

const AVOption* PrivateOption(const AVClass* privateClass, const char* name) {
    if (!privateClass) return nullptr;
    const AVClass* fakeObject = privateClass;
    return ff::av_opt_find(&fakeObject, name, nullptr, 0, AV_OPT_SEARCH_FAKE_OBJ);
}

// True when the muxer has the numeric option and takes `value` for it.
bool TakesPrivateOption(const AVClass* privateClass, const char* name, double value) {
    const AVOption* option = PrivateOption(privateClass, name);
    return option && value >= option->min && value <= option->max;
}

// The recording timestamp (seconds since the epoch) as the "creation_time" the muxers write.
std::string CreationTimeText(int64_t seconds) {
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm parts{};
    gmtime_r(&time, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S.000000Z", &parts);
    return text;
}

void DictionarySet(DictionaryPtr& dictionary, const char* key, const std::string& value) {
    AVDictionary* raw = dictionary.release();
    ff::av_dict_set(&raw, key, value.c_str(), 0);
    dictionary.reset(raw);
}

// The sum of the known durations of the inputs; -1 when none is known.
int64_t SummedDuration(const TFileTables& files) {
    int64_t total = -1;
    for (int i = 0; i < files.NbInputFiles; ++i) {
        const AVFormatContext* input = files.InputFiles[i].get();
        if (!input || input->duration == AV_NOPTS_VALUE) continue;
        total = (total < 0 ? 0 : total) + input->duration;
    }
    return total;
}

}  // namespace

int TCustomFFmpeg::FailOutput(const std::string& message) {
    FLastError = message;
    return -1;
}

// Crop bands and pads are applied around the filters; a chain that also changes the size
// would make the two disagree.
bool TCustomFFmpeg::CheckOutputFilters() {
    if (FVideo.Filters.empty()) return true;
    if (FVideo.CropTop || FVideo.CropBottom || FVideo.CropLeft || FVideo.CropRight) {
        FailOutput("Cannot enable crop options and filters at the same time.");
        return false;
    }
    const int pads = FVideo.PadTop + FVideo.PadBottom + FVideo.PadLeft + FVideo.PadRight;
    if (pads != 0 && NamesResizingFilter(FVideo.Filters)) {
        FailOutput(kPadWithResizeMessage);
        return false;
    }
    return true;
}

namespace {

// The input that is the file at `path` (same device and inode: another spelling of the name, a
// hard link or a symbolic link all count), or -1. A file that does not exist yet is none.
int InputSameAsFile(const TFileTables& files, const std::string& path) {
    struct stat output {};
    if (::stat(path.c_str(), &output) != 0) return -1;
    for (int i = 0; i < files.NbInputFiles; ++i) {
        const AVFormatContext* input = files.InputFiles[i].get();
        struct stat source {};
        if (!input || !input->url || ::stat(FromLibraryName(input->url).c_str(), &source) != 0) continue;
        if (source.st_dev == output.st_dev && source.st_ino == output.st_ino) return i;
    }
    return -1;
}

}  // namespace

int TCustomFFmpeg::AddOutputFile(const std::string& fileName, bool join) {
    if (!TFFmpegLoader::Instance().AllLoaded(RequiredLibraries()))
        return FailOutput("The media libraries are not loaded.");
    if (FState.Join) return FailOutput("Cannot join more than one output file.");
    if (!CheckOutputFilters()) return -1;
    if (const int input = InputSameAsFile(FFiles, FromLibraryName(ToLibraryName(fileName))); input >= 0)
        return FailOutput("Output file '" + fileName + "' is the same file as input file #" +
                          std::to_string(input) + ", which it would destroy");
    const int entries = join && FFiles.NbInputFiles > 1 ? FFiles.NbInputFiles : 1;
    if (FOutputs.NbOutputFiles + entries > kMaxFiles)
        return FailOutput("max output files " + std::to_string(kMaxFiles) + " reached");
    FState.UseFilters = !FVideo.Filters.empty();

    const std::string libraryName = ToLibraryName(fileName);
    const AVOutputFormat* format = nullptr;
    if (!FFiles.FileFormat.empty()) {
        format = ff::av_guess_format(FFiles.FileFormat.c_str(), nullptr, nullptr);
        if (!format)
            return FailOutput("Requested output format '" + FFiles.FileFormat +
                              "' is not a suitable output format");
        FFiles.FileFormat.clear();
    } else {
        format = ff::av_guess_format(nullptr, libraryName.c_str(), nullptr);
        if (!format) return FailOutput("Unable to find a suitable output format for '" + fileName + "'");
    }

    auto file = std::make_unique<TOutputFile>();
    AVFormatContext* context = nullptr;
    ff::avformat_alloc_output_context2(&context, format, nullptr, nullptr);
    if (!context) throw FFmpegException("avformat_alloc_context failed");
    file->Context.reset(context);
    context->url = ff::av_strdup(libraryName.c_str());
    if (!context->url) throw FFmpegException("avformat_alloc_context failed");

    // On failure the streams' entries in the output codec table go again with their streams.
    const int codecEntries = FFiles.NbOutputCodecs;
    const int result = OpenOutput(std::move(file), fileName, join);
    if (result < 0) {
        std::fill(FFiles.OutputCodecs.begin() + codecEntries,
                  FFiles.OutputCodecs.begin() + FFiles.NbOutputCodecs, nullptr);
        FFiles.NbOutputCodecs = codecEntries;
    }
    return result;
}

// The steps of AddOutputFile after the context exists. `owned` is freed (its file closed and
// removed when left empty) on every failure.
int TCustomFFmpeg::OpenOutput(std::unique_ptr<TOutputFile> owned, const std::string& fileName, bool join) {
    TOutputFile& file = *owned;
    AVFormatContext& context = *file.Context;
    const AVOutputFormat& format = *context.oformat;
    const std::string libraryName = context.url;

    const bool serverFeed =
            std::string(format.name) == "ffm" && ff::av_strstart(libraryName.c_str(), "http:", nullptr);
    if (serverFeed) {
        const int error = ReadServerFeedStreams(file);
        if (error < 0) return FailOutput(InputErrorMessage(fileName, ClassifyOpenError({error})));
    } else {
        const int created = CreateDefaultStreams(file, join);
        if (created < 0) return created;
        SetOutputMetadata(context);
    }

    if ((format.flags & AVFMT_NEEDNUMBER) && !ff::av_filename_number_test(libraryName.c_str()))
        return FailOutput(InputErrorMessage(fileName, ieImageFileNameSyntax));

    if (!(format.flags & AVFMT_NOFILE)) {
        std::error_code error;
        file.ExistedBefore = std::filesystem::exists(FromLibraryName(libraryName), error);
        if (const int opened = OpenOutputIO(&context.pb, libraryName, AVIO_FLAG_WRITE); opened < 0)
            return FailOutput("Could not open '" + fileName + "': " + LibraryErrorText(opened));
    }
    file.FileName = FromLibraryName(libraryName);
    SetMuxerOptions(file);

    const int first = FOutputs.NbOutputFiles;
    FOutputs.Owned.push_back(std::move(owned));
    FOutputs.Entries[first] = &file;
    FOutputs.NbOutputFiles = first + 1;
    if (join && FFiles.NbInputFiles > 1) StartJoin(first);
    return FOutputs.NbOutputFiles;
}

// Which streams the output gets and creating them, video first, then audio, then subtitle.
// -1 with LastError set on failure.
int TCustomFFmpeg::CreateDefaultStreams(TOutputFile& file, bool join) {
    const AVOutputFormat& format = *file.Context->oformat;
    bool useVideo = FVideo.StreamCopy || format.video_codec != AV_CODEC_ID_NONE || !FVideo.CodecName.empty();
    bool useAudio = FAudio.StreamCopy || format.audio_codec != AV_CODEC_ID_NONE || !FAudio.CodecName.empty();
    bool useSubtitle =
            FSubtitle.StreamCopy || format.subtitle_codec != AV_CODEC_ID_NONE || !FSubtitle.CodecName.empty();
    if (FFiles.NbInputFiles > 0) {
        TInputKinds kinds;
        try {
            kinds = InputKinds(join);  // a join output takes its streams from the first input
        } catch (const FFmpegException& error) {
            return FailOutput(std::string("check_audio_video_sub_inputs fail: ") + error.what());
        }
        useVideo = useVideo && kinds.HasVideo;
        useAudio = useAudio && kinds.HasAudio;
        useSubtitle = useSubtitle && kinds.HasSubtitle;
    }
    useVideo = useVideo && !FVideo.Disable;
    useAudio = useAudio && !FAudio.Disable;
    useSubtitle = useSubtitle && !FSubtitle.Disable;

    const auto create = [this, &file](bool wanted, void (TCustomFFmpeg::*creator)(TOutputFile&),
                                      const char* what) {
        if (!wanted) return true;
        try {
            (this->*creator)(file);
        } catch (const FFmpegException& error) {
            FailOutput(std::string(what) + " fail: " + error.what());
            return false;
        }
        return true;
    };
    if (!create(useVideo, &TCustomFFmpeg::NewVideoStream, "new_video_stream") ||
        !create(useAudio, &TCustomFFmpeg::NewAudioStream, "new_audio_stream") ||
        !create(useSubtitle, &TCustomFFmpeg::NewSubtitleStream, "new_subtitle_stream"))
        return -1;
    return 0;
}

// The recording timestamp and the metadata list go on the output; the list is emptied. The
// pairs are set from the last added to the first, so the first of two equal keys wins.
void TCustomFFmpeg::SetOutputMetadata(AVFormatContext& context) {
    if (FRun.RecordingTimestamp != 0)
        ff::av_dict_set(&context.metadata, "creation_time", CreationTimeText(FRun.RecordingTimestamp).c_str(),
                        0);
    for (auto pair = FRun.Metadata.rbegin(); pair != FRun.Metadata.rend(); ++pair)
        ff::av_dict_set(&context.metadata, pair->first.c_str(), pair->second.c_str(), 0);
    FRun.Metadata.clear();
}

// Mux preload, maximum delay, output loop count and the generic format options; the muxer's
// own options are kept for the moment the header is written.
void TCustomFFmpeg::SetMuxerOptions(TOutputFile& file) {
    AVFormatContext& context = *file.Context;
    const AVClass* muxerClass = context.oformat->priv_class;
    const auto preload = static_cast<int64_t>(FRun.MuxPreload * 1000000);
    if (TakesPrivateOption(muxerClass, "preload", static_cast<double>(preload)))
        DictionarySet(file.MuxerOptions, "preload", std::to_string(preload));
    // The output loop count of animated pictures; -1 (the default) plays them once where the
    // muxer knows that value.
    if (TakesPrivateOption(muxerClass, "loop", FRun.LoopOutput))
        DictionarySet(file.MuxerOptions, "loop", std::to_string(FRun.LoopOutput));
    context.max_delay = static_cast<int>(FRun.MuxMaxDelay * 1000000);
    context.flags |= AVFMT_FLAG_NONBLOCK;
    FOptions.CopyFormatOptions(&context, kOutputFormatFlags);
    if (const AVDictionary* kept = FOptions.MuxerPrivateOptions()) {
        AVDictionary* raw = file.MuxerOptions.release();
        ff::av_dict_copy(&raw, kept, 0);
        file.MuxerOptions.reset(raw);
    }
}

// The inputs are written one after another into this one output: one output entry per input,
// and the job lasts as long as all of them together.
void TCustomFFmpeg::StartJoin(int entry) {
    FState.Join = true;
    FState.TotalDuration = SummedDuration(FFiles);
    for (int i = 1; i < FFiles.NbInputFiles; ++i) {
        FOutputs.Entries[entry + i] = FOutputs.Entries[entry];
    }
    FOutputs.NbOutputFiles = entry + FFiles.NbInputFiles;
}

// The streams of a server's feed: the feed is opened as an input and each of its streams is
// copied into a new output stream. 0, or the negative library result of opening the feed.
int TCustomFFmpeg::ReadServerFeedStreams(TOutputFile& file) {
    AVFormatContext* raw = nullptr;
    const int opened = OpenInputFile(&raw, file.Context->url, nullptr, nullptr);
    if (opened < 0) return opened;
    InputFilePtr feed(raw);
    bool bitExact = false;
    for (unsigned i = 0; i < feed->nb_streams; ++i) {
        const AVStream& source = *feed->streams[i];
        auto stream = std::make_unique<TOutputStream>();
        stream->Codec.reset(ff::avcodec_alloc_context3(nullptr));
        if (!stream->Codec) throw FFmpegException("avcodec_alloc_context failed");
        if (ff::avcodec_parameters_to_context(stream->Codec.get(), source.codecpar) < 0)
            throw FFmpegException("avcodec_alloc_context failed");
        stream->Kind = source.codecpar->codec_type;
        stream->StreamCopy = (stream->Kind == AVMEDIA_TYPE_AUDIO && FAudio.StreamCopy) ||
                             (stream->Kind == AVMEDIA_TYPE_VIDEO && FVideo.StreamCopy);
        stream->Codec->thread_count = std::max(1, stream->Codec->thread_count);
        bitExact = bitExact || (stream->Codec->flags & AV_CODEC_FLAG_BITEXACT);
        stream->Stream = ff::avformat_new_stream(file.Context.get(), nullptr);
        if (!stream->Stream) throw FFmpegException("Could not alloc stream");
        ff::avcodec_parameters_copy(stream->Stream->codecpar, source.codecpar);
        stream->Stream->time_base = source.time_base;
        file.Streams.push_back(std::move(stream));
    }
    // A bit-exact feed must not carry the time of writing.
    if (!bitExact)
        ff::av_dict_set(&file.Context->metadata, "creation_time",
                        CreationTimeText(ff::av_gettime() / 1000000).c_str(), 0);
    return 0;
}

}  // namespace kestrova
