// Opening input files: the job's AddInputFile and the scan of the kinds the inputs hold.
#include "engine/core/CustomFFmpeg.h"

#include "engine/core/FFmpegException.h"
#include "engine/frame/FFmpegLoader.h"
#include "engine/frame/FFmpegLogger.h"
#include "engine/frame/InputErrors.h"
#include "engine/frame/Text.h"
#include "engine/frame/UnicodeProtocol.h"

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <vector>

namespace kestrova {

namespace {

// The demuxer options standing in for the format parameters of the pending settings.
DictionaryPtr FormatParameters(const TPendingVideo& video, const TPendingAudio& audio) {
    AVDictionary* options = nullptr;
    const auto set = [&options](const char* key, const std::string& value) {
        ff::av_dict_set(&options, key, value.c_str(), 0);
    };
    set("sample_rate", std::to_string(audio.SampleRate));
    set("channels", std::to_string(audio.Channels));
    if (video.FrameRate.num > 0 && video.FrameRate.den > 0)
        set("framerate", std::to_string(video.FrameRate.num) + "/" + std::to_string(video.FrameRate.den));
    const int width = video.FrameWidth + video.PadLeft + video.PadRight;
    const int height = video.FrameHeight + video.PadTop + video.PadBottom;
    if (width > 0 && height > 0) set("video_size", std::to_string(width) + "x" + std::to_string(height));
    if (video.PixelFormat != AV_PIX_FMT_NONE) {
        if (const char* name = ff::av_get_pix_fmt_name(static_cast<AVPixelFormat>(video.PixelFormat)))
            set("pixel_format", name);
    }
    if (video.Channel != 0) set("channel", std::to_string(video.Channel));
    if (!video.TvStandard.empty()) set("standard", video.TvStandard);
    return DictionaryPtr(options);
}

// The float aspect of a video stream as the pending settings keep it.
float StreamAspect(const AVStream& stream) {
    const AVCodecParameters& par = *stream.codecpar;
    const AVRational sar =
            stream.sample_aspect_ratio.num ? stream.sample_aspect_ratio : par.sample_aspect_ratio;
    double aspect = sar.den ? static_cast<double>(sar.num) / sar.den : 0;
    if (par.width && par.height)
        aspect = aspect != 0 ? par.width * aspect / par.height : static_cast<double>(par.width) / par.height;
    else if (aspect == 0)
        aspect = 4.0 / 3.0;
    return static_cast<float>(aspect);
}

double RateValue(AVRational rate) {
    return rate.den ? static_cast<double>(rate.num) / rate.den : 0;
}

}  // namespace

bool TCustomFFmpeg::FailInput(const std::string& message) {
    FLastError = message;
    ClearPendingInputSettings();
    return false;
}

void TCustomFFmpeg::ClearPendingInputSettings() {
    FVideo.Channel = 0;
    FVideo.CodecName.clear();
    FAudio.CodecName.clear();
    FSubtitle.CodecName.clear();
}

// Looks up the decoder named for a kind. Returns false with LastError set when the name is
// unknown or names a decoder of another kind; an unset name gives no decoder.
bool TCustomFFmpeg::FindInputDecoder(AVMediaType kind, const std::string& name, const AVCodec*& decoder) {
    decoder = nullptr;
    if (name.empty()) return true;
    decoder = ff::avcodec_find_decoder_by_name(name.c_str());
    if (!decoder) {
        FLastError = FormatText("Unknown %s '%s'", "decoder", name.c_str());
        return false;
    }
    if (decoder->type != kind) {
        FLastError = FormatText("Invalid %s type '%s'", "decoder", name.c_str());
        decoder = nullptr;
        return false;
    }
    return true;
}

bool TCustomFFmpeg::AddInputFile(const std::string& fileName) {
    if (!TFFmpegLoader::Instance().AllLoaded(RequiredLibraries()))
        return FailInput("The media libraries are not loaded.");
    if (FFiles.NbInputFiles >= kMaxFiles)
        return FailInput(FormatText("max input files %d reached", kMaxFiles));
    if (FLogLabel.empty()) FLogLabel = fileName.substr(fileName.find_last_of("/\\") + 1);

    // 1. A forced container format (a name no demuxer has leaves the format to probing).
    const AVInputFormat* forcedFormat = nullptr;
    if (!FFiles.FileFormat.empty()) {
        forcedFormat = ff::av_find_input_format(FFiles.FileFormat.c_str());
        FFiles.FileFormat.clear();
    }

    // 2. The context, handed to the library pre-allocated.
    AVFormatContext* context = ff::avformat_alloc_context();
    if (!context) throw FFmpegException("avformat_alloc_context failed");
    InputFilePtr input(context);

    // 3, 4. Format parameters and the decoders named for each kind.
    DictionaryPtr parameters = FormatParameters(FVideo, FAudio);
    const AVCodec* videoDecoder = nullptr;
    const AVCodec* audioDecoder = nullptr;
    const AVCodec* subtitleDecoder = nullptr;
    if (!FindInputDecoder(AVMEDIA_TYPE_VIDEO, FVideo.CodecName, videoDecoder) ||
        !FindInputDecoder(AVMEDIA_TYPE_AUDIO, FAudio.CodecName, audioDecoder) ||
        !FindInputDecoder(AVMEDIA_TYPE_SUBTITLE, FSubtitle.CodecName, subtitleDecoder)) {
        const std::string message = FLastError;
        return FailInput(message);
    }
    if (videoDecoder) {
        context->video_codec_id = videoDecoder->id;
        context->video_codec = videoDecoder;
    }
    if (FRun.PgmYuv) context->video_codec_id = AV_CODEC_ID_PGMYUV;
    if (audioDecoder) {
        context->audio_codec_id = audioDecoder->id;
        context->audio_codec = audioDecoder;
    }
    if (subtitleDecoder) {
        context->subtitle_codec_id = subtitleDecoder->id;
        context->subtitle_codec = subtitleDecoder;
    }

    // 5. Generic options meant for demuxing; never block on a stalled source.
    FOptions.CopyFormatOptions(context, kInputFormatFlags);
    context->flags |= AVFMT_FLAG_NONBLOCK;
    SetInterruptCallback(*context, *FInputInterrupt);

    // 6. Open. The library frees the context when it fails.
    const std::string libraryName = ToLibraryName(fileName);
    AVDictionary* rawParameters = parameters.release();
    AVFormatContext* opened = input.release();
    const int result = OpenInputFile(&opened, libraryName, forcedFormat, &rawParameters);
    parameters.reset(rawParameters);
    input.reset(opened);
    if (result < 0)
        return FailInput(InputErrorMessage(fileName, ClassifyOpenFailure(result, libraryName, forcedFormat)));

    // 7. Only the chosen program is read.
    if (FRun.ProgramId != 0)
        for (unsigned i = 0; i < context->nb_programs; ++i)
            if (context->programs[i]->id != FRun.ProgramId) context->programs[i]->discard = AVDISCARD_ALL;

    // 8. Looping the input is done by the transcode loop, which reads the job's flag.

    // 9. Stream information; the decoders opened for it must not meet other jobs' codec calls.
    int infoResult = 0;
    {
        std::lock_guard lock(CodecLock());
        infoResult = ff::avformat_find_stream_info(context, nullptr);
    }
    if (infoResult < 0 && FRun.Verbose >= 0) {
        const std::string message = fileName + ": could not find codec parameters";
        TFFLogger::Instance().Log(this, llVerbose, message);
        return FailInput(message);
    }
    if (context->nb_streams > kMaxStreams ||
        FFiles.NbInputCodecs + static_cast<int>(context->nb_streams) > kMaxCodecEntries)
        return FailInput(FormatText("%s: stream index over MAX_STREAMS(%d)", fileName.c_str(), kMaxStreams));

    // 10. The start time seeks the first input added after it was set, and only that one.
    int64_t timestamp = FRun.StartTime;
    if (context->start_time != AV_NOPTS_VALUE) timestamp += context->start_time;
    if (FRun.StartTime != 0) {
        ff::av_seek_frame(context, -1, timestamp, AVSEEK_FLAG_BACKWARD);  // a failed seek is harmless
        FRun.StartTime = 0;
    }

    // 11. Per stream: its decoder context, and its facts as defaults for the outputs.
    TNamedDecoders named{};
    named[AVMEDIA_TYPE_VIDEO] = videoDecoder;
    named[AVMEDIA_TYPE_AUDIO] = audioDecoder;
    named[AVMEDIA_TYPE_SUBTITLE] = subtitleDecoder;
    std::vector<const AVCodec*> tableEntries;
    std::vector<CodecContextPtr> decoderContexts;
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        const AVCodec* entry = nullptr;
        decoderContexts.push_back(TakeInputStream(*context->streams[i], static_cast<int>(i), named, entry));
        tableEntries.push_back(entry);
    }

    // 12. The job lasts as long as its longest input.
    if (context->duration != AV_NOPTS_VALUE && context->duration > FState.TotalDuration)
        FState.TotalDuration = context->duration;

    // 13. Accept the input.
    const int index = FFiles.NbInputFiles;
    FFiles.InputFilesTsOffset[index] = FRun.CopyTs ? FRun.InputTsOffset : FRun.InputTsOffset - timestamp;
    for (const AVCodec* entry : tableEntries) FFiles.InputCodecs[FFiles.NbInputCodecs++] = entry;
    FFiles.InputStreamContexts[index] = std::move(decoderContexts);
    FFiles.InputFiles[index] = std::move(input);

    // 14. The file's description in the log.
    if (FRun.Verbose >= 0) ff::av_dump_format(context, index, libraryName.c_str(), 0);

    // 15. Settings consumed by this input.
    ++FFiles.NbInputFiles;
    ClearPendingInputSettings();
    return true;
}

CodecContextPtr TCustomFFmpeg::TakeInputStream(AVStream& stream, int index, const TNamedDecoders& named,
                                               const AVCodec*& tableEntry) {
    const AVCodecParameters& par = *stream.codecpar;
    CodecContextPtr decoder(ff::avcodec_alloc_context3(nullptr));
    if (!decoder || ff::avcodec_parameters_to_context(decoder.get(), &par) < 0)
        throw FFmpegException("avcodec_alloc_context failed");
    decoder->thread_count = FRun.ThreadCount;
    decoder->pkt_timebase = stream.time_base;

    switch (par.codec_type) {
        case AVMEDIA_TYPE_VIDEO: {
            FOptions.CopyCodecOptions(AVMEDIA_TYPE_VIDEO, decoder.get(), kVideoDecoderFlags);
            FVideo.FrameHeight = par.height;
            FVideo.FrameWidth = par.width;
            FVideo.FrameAspectRatio = StreamAspect(stream);
            if (decoder->pix_fmt == AV_PIX_FMT_NONE) decoder->pix_fmt = static_cast<AVPixelFormat>(0);
            FVideo.PixelFormat = decoder->pix_fmt;
            if (decoder->lowres > 0) {
                FVideo.FrameWidth >>= decoder->lowres;
                FVideo.FrameHeight >>= decoder->lowres;
            }
            // av_cmp_q is inline arithmetic of the header, not an entry point of the library.
            const AVRational codecRate = stream.avg_frame_rate;
            const AVRational streamRate = stream.r_frame_rate;
            if (codecRate.num && codecRate.den && ::av_cmp_q(codecRate, streamRate) != 0 && FRun.Verbose >= 0)
                TFFLogger::Instance().Log(
                        this, llInfo,
                        FormatText("Seems stream %d codec frame rate differs from container frame rate: "
                                   "%2.2f (%d/%d) -> %2.2f (%d/%d)",
                                   index, RateValue(codecRate), codecRate.num, codecRate.den,
                                   RateValue(streamRate), streamRate.num, streamRate.den));
            FVideo.FrameRate = streamRate;
            tableEntry = named[AVMEDIA_TYPE_VIDEO];
            if (FVideo.Disable)
                stream.discard = AVDISCARD_ALL;
            else if (FVideo.Discard != 0)
                stream.discard = static_cast<AVDiscard>(FVideo.Discard);
            break;
        }
        case AVMEDIA_TYPE_AUDIO:
            FOptions.CopyCodecOptions(AVMEDIA_TYPE_AUDIO, decoder.get(), kAudioDecoderFlags);
            FAudio.ChannelLayout = par.ch_layout.order == AV_CHANNEL_ORDER_NATIVE
                                           ? static_cast<int64_t>(par.ch_layout.u.mask)
                                           : 0;
            FAudio.Channels = par.ch_layout.nb_channels;
            FAudio.SampleRate = par.sample_rate;
            FAudio.SampleFormat = par.format;
            tableEntry = named[AVMEDIA_TYPE_AUDIO];
            if (FAudio.Disable) stream.discard = AVDISCARD_ALL;
            break;
        case AVMEDIA_TYPE_SUBTITLE:
            tableEntry = named[AVMEDIA_TYPE_SUBTITLE];
            if (FSubtitle.Disable) stream.discard = AVDISCARD_ALL;
            break;
        case AVMEDIA_TYPE_DATA:
        case AVMEDIA_TYPE_ATTACHMENT:
        case AVMEDIA_TYPE_UNKNOWN:
            tableEntry = nullptr;
            break;
        default:
            throw FFmpegException("invalid codec_type");
    }
    return decoder;
}

TInputKinds TCustomFFmpeg::InputKinds(bool firstOnly) const {
    TInputKinds kinds;
    const int count = firstOnly ? std::min(FFiles.NbInputFiles, 1) : FFiles.NbInputFiles;
    for (int file = 0; file < count; ++file) {
        const AVFormatContext* context = FFiles.InputFiles[file].get();
        for (unsigned i = 0; i < context->nb_streams; ++i) {
            switch (context->streams[i]->codecpar->codec_type) {
                case AVMEDIA_TYPE_VIDEO:
                    kinds.HasVideo = true;
                    break;
                case AVMEDIA_TYPE_AUDIO:
                    kinds.HasAudio = true;
                    break;
                case AVMEDIA_TYPE_SUBTITLE:
                    kinds.HasSubtitle = true;
                    break;
                case AVMEDIA_TYPE_DATA:
                case AVMEDIA_TYPE_ATTACHMENT:
                case AVMEDIA_TYPE_UNKNOWN:
                    break;
                default:
                    throw FFmpegException("invalid codec_type of input file");
            }
        }
    }
    return kinds;
}

}  // namespace kestrova
