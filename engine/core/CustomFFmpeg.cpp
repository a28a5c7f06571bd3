#include "CustomFFmpeg.h"

#include "FFmpegException.h"
#include "OptionTable.h"
#include "frame/FFmpegLoader.h"
#include "frame/FFmpegLogger.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace kestrova {

namespace {

bool MediaLibrariesLoaded() {
    return TFFmpegLoader::Instance().AllLoaded(RequiredLibraries());
}

// Removes an output file that received no byte (a failed or never started run).
void RemoveIfEmpty(const std::string& path) {
    std::error_code error;
    if (!path.empty() && std::filesystem::is_regular_file(path, error) &&
        std::filesystem::file_size(path, error) == 0 && !error)
        std::filesystem::remove(path, error);
}

} // namespace

TCustomFFmpeg::TCustomFFmpeg() {
    if (MediaLibrariesLoaded()) CreateOptionContexts();
}

TCustomFFmpeg::~TCustomFFmpeg() { ReleaseJob(); }

void TCustomFFmpeg::ResetJob() {
    if (!MediaLibrariesLoaded()) return;
    ReleaseJob();
    RestoreDefaults();
    CreateOptionContexts();
}

void TCustomFFmpeg::RestoreDefaults() {
    FFiles = TFileTables{};
    FVideo = TPendingVideo{};
    FAudio = TPendingAudio{};
    FSubtitle = TPendingSubtitle{};
    FRun = TRunSettings{};
    FBitstreamFilters = TBitstreamFilterChains{};
    FVideoHooks.Release();
    FState = TRunState{};
    FStopRequested = false;
    FLastError.clear();
}

void TCustomFFmpeg::CreateOptionContexts() { FOptions.Create(FRun.ScalerFlags); }

void TCustomFFmpeg::ReleaseJob() {
    ReleaseOutputFiles();
    ReleaseInputFiles();
    FVideo.IntraMatrix.reset();
    FVideo.InterMatrix.reset();
    FRun.VstatsFileName.clear();
    FVideo.CodecName.clear();
    FAudio.CodecName.clear();
    FSubtitle.CodecName.clear();
    FVideo.TvStandard.clear();
    FVideo.Language.clear();
    FAudio.Language.clear();
    FSubtitle.Language.clear();
    FRun.BitBuffer.clear();
    FRun.BitBuffer.shrink_to_fit();
    FVideoHooks.Release();
    FState.HooksInUse = false;
}

void TCustomFFmpeg::ReleaseInputFiles() {
    for (auto& input : FFiles.InputFiles) input.reset();
    FFiles.NbInputFiles = 0;
}

void TCustomFFmpeg::ReleaseOutputFiles() {
    // In join mode one context fills several entries: release each context once.
    std::vector<AVFormatContext*> contexts;
    for (int i = 0; i < FFiles.NbOutputFiles; ++i)
        if (FFiles.OutputFiles[i] &&
            std::find(contexts.begin(), contexts.end(), FFiles.OutputFiles[i]) == contexts.end())
            contexts.push_back(FFiles.OutputFiles[i]);
    for (AVFormatContext* context : contexts) {
        FormatContextPtr owned(context);
        const bool hasFile = context->oformat && !(context->oformat->flags & AVFMT_NOFILE);
        if (hasFile && context->pb) {
            CloseOutputIO(&context->pb);
            RemoveIfEmpty(FromLibraryName(context->url ? context->url : ""));
        }
    }
    FFiles.OutputFiles.fill(nullptr);
    FFiles.NbOutputFiles = 0;
}

void TCustomFFmpeg::ApplyOption(const std::string& name, const std::string& value) {
    if (!TOptionTable::Apply(*this, name, value)) SetAVOption(name, value);
}

TPrivateOptionOwners TCustomFFmpeg::PrivateOptionOwners() const {
    TPrivateOptionOwners owners;
    owners.EncoderNames[AVMEDIA_TYPE_VIDEO] = FVideo.CodecName;
    owners.EncoderNames[AVMEDIA_TYPE_AUDIO] = FAudio.CodecName;
    owners.EncoderNames[AVMEDIA_TYPE_SUBTITLE] = FSubtitle.CodecName;
    owners.FormatName = FFiles.FileFormat;
    return owners;
}

bool TCustomFFmpeg::SetAVOption(const std::string& name, const std::string& value) {
    if (!FOptions.Set(name, value, PrivateOptionOwners())) return false;
    if (FOptions.DebugRequested()) TFFLogger::Instance().SetLogLevel(llDebug);
    return true;
}

bool TCustomFFmpeg::SetAVOptionInt(const std::string& name, int64_t value) {
    return SetAVOption(name, std::to_string(value));
}

void TCustomFFmpeg::AddMetadata(const std::string& key, const std::string& value) {
    FRun.Metadata.emplace_back(key, value);
}

void TCustomFFmpeg::ApplyPresetOption(const std::string& name, const std::string&) {
    throw FFmpegException("TODO: option - " + name);
}

void TCustomFFmpeg::ApplyTargetOption(const std::string&) {
    throw FFmpegException("TODO: option - target");
}

void TCustomFFmpeg::AddNewStreamOption(const std::string& name, AVMediaType) {
    if (FFiles.NbOutputFiles <= 0)
        throw FFmpegException("At least one output file must be specified");
    throw FFmpegException("TODO: option - " + name);
}

} // namespace kestrova
