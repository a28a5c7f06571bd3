// TCustomAVProbe: opening, adopting and closing an input, and the cached stream counts.
#include "engine/frame/AVProbe.h"

#include "engine/frame/InterruptCheck.h"

#include "engine/frame/FFmpegLoader.h"
#include "engine/frame/FFmpegLogger.h"
#include "engine/frame/InputErrors.h"
#include "engine/frame/LogLevel.h"

#include <filesystem>
#include <mutex>

namespace kestrova {

TCustomAVProbe::TCustomAVProbe() = default;

TCustomAVProbe::~TCustomAVProbe() = default;  // the owned input closes with FOwned

void TCustomAVProbe::CheckLibraries() const {
    const TFFmpegLoader& loader = TFFmpegLoader::Instance();
    if (!loader.IsLoaded(libAVCodec)) throw EProbeError("LibAVCodec not loaded.");
    if (!loader.IsLoaded(libAVFormat)) throw EProbeError("LibAVFormat not loaded.");
    if (!loader.IsLoaded(libAVUtil)) throw EProbeError("LibAVUtil not loaded.");
    if (!loader.IsLoaded(libSWScale)) throw EProbeError("LibSwScale not loaded.");
}

void TCustomAVProbe::LogError(int libraryLevel, const std::string& message) {
    FLastErrMsg = message;
    TFFLogger::Instance().Log(this, LogLevelFromLibrary(libraryLevel), message);
}

bool TCustomAVProbe::RequireFile() {
    if (FContext) return true;
    LogError(AV_LOG_WARNING, "file not loaded.");
    return false;
}

bool TCustomAVProbe::LoadFile(const std::string& fileName, const std::string& formatName) {
    CheckLibraries();
    CloseFile();

    const AVInputFormat* format = nullptr;
    if (!formatName.empty()) {
        format = ff::av_find_input_format(formatName.c_str());
        if (!format) {
            FLastErrMsg = "Unknown input format: " + formatName;
            return false;
        }
    }

    AVFormatContext* context = ff::avformat_alloc_context();
    if (!context) {
        LogError(AV_LOG_ERROR, InputErrorMessage(fileName, ieNoMemory));
        return false;
    }
    context->flags |= AVFMT_FLAG_NONBLOCK;
    SetInterruptCallback(*context, FInterrupt);
    const std::string libraryName = ToLibraryName(fileName);
    const int result = OpenInputFile(&context, libraryName, format, nullptr);  // frees on failure
    if (result < 0) {
        LogError(AV_LOG_ERROR, InputErrorMessage(fileName, ClassifyOpenFailure(result, libraryName, format)));
        return false;
    }
    InputFilePtr opened(context);

    int infoResult = 0;
    {
        // Decoders are opened during the search while jobs may open codecs on other threads.
        std::lock_guard lock(CodecLock());
        infoResult = ff::avformat_find_stream_info(context, nullptr);
    }
    if (infoResult < 0) {
        FLastErrMsg = fileName + ": could not find codec parameters";
        return false;
    }

    FOwned = std::move(opened);
    FContext = context;
    ReadInfo();
    FFormatName = formatName;
    return true;
}

void TCustomAVProbe::AttachContext(AVFormatContext* context) {
    CheckLibraries();
    CloseFile();
    FContext = context;
    ReadInfo();
}

void TCustomAVProbe::CloseFile() {
    FFormatName.clear();
    FContext = nullptr;
    FOwned.reset();
    ReadInfo();
}

void TCustomAVProbe::ReadInfo() {
    FFileSize = FStreamCount = FProgramCount = -1;
    FAudioStreamCount = FVideoStreamCount = FSubtitleStreamCount = -1;
    FFirstAudioStreamIndex = FFirstVideoStreamIndex = FFirstSubtitleStreamIndex = -1;
    if (!FContext) return;

    const int64_t containerSize = FContext->pb ? ff::avio_size(FContext->pb) : -1;
    FFileSize = containerSize;
    if (containerSize <= 0 && FContext->url) {
        std::error_code error;
        const std::filesystem::path path(FromLibraryName(FContext->url));
        if (std::filesystem::is_regular_file(path, error)) {
            const auto size = std::filesystem::file_size(path, error);
            if (!error) FFileSize = static_cast<int64_t>(size);
        }
    }

    FStreamCount = static_cast<int>(FContext->nb_streams);
    FProgramCount = static_cast<int>(FContext->nb_programs);
    FAudioStreamCount = FVideoStreamCount = FSubtitleStreamCount = 0;
    const auto count = [](int& counter, int& first, int index) {
        ++counter;
        if (first < 0) first = index;
    };
    for (int i = 0; i < FStreamCount; ++i) {
        switch (FContext->streams[i]->codecpar->codec_type) {
            case AVMEDIA_TYPE_VIDEO:
                count(FVideoStreamCount, FFirstVideoStreamIndex, i);
                break;
            case AVMEDIA_TYPE_AUDIO:
                count(FAudioStreamCount, FFirstAudioStreamIndex, i);
                break;
            case AVMEDIA_TYPE_SUBTITLE:
                count(FSubtitleStreamCount, FFirstSubtitleStreamIndex, i);
                break;
            default:
                break;
        }
    }
}

std::string TCustomAVProbe::FileName() {
    if (!RequireFile() || !FContext->url) return {};
    return FromLibraryName(FContext->url);
}

std::string TCustomAVProbe::FormatShortName() {
    if (!RequireFile()) return {};
    return OpenFormatName();
}

std::string TCustomAVProbe::OpenFormatName() const {
    if (!FContext || !FContext->iformat || !FContext->iformat->name) return {};
    return FContext->iformat->name;
}

}  // namespace kestrova
