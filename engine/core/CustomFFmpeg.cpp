#include "engine/core/CustomFFmpeg.h"

#include "engine/core/FFmpegException.h"
#include "engine/core/options/OptionTable.h"
#include "engine/core/run/RunTables.h"
#include "engine/core/video/VideoPathState.h"
#include "engine/frame/FFmpegLoader.h"
#include "engine/frame/FFmpegLogger.h"

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <system_error>

namespace kestrova {

namespace {

bool MediaLibrariesLoaded() {
    return TFFmpegLoader::Instance().AllLoaded(RequiredLibraries());
}

}  // namespace

TCustomFFmpeg::TCustomFFmpeg() : FVideoPath(std::make_unique<TVideoPathState>()) {
    if (MediaLibrariesLoaded()) CreateOptionContexts();
}

TCustomFFmpeg::~TCustomFFmpeg() {
    EndThreads();  // nothing of a run outlives the job
    ReleaseJob();
}

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
    ChangePreviewFlags(kPreviewWindowFlag | kPreviewBitmapFlag, false);
    FStopRequested = false;
    FLastError.clear();
}

void TCustomFFmpeg::CreateOptionContexts() {
    FOptions.Create(FRun.ScalerFlags);
}

void TCustomFFmpeg::ReleaseInputFiles() {
    {
        // Freeing a decoder context closes the decoder: not alongside other jobs' codec calls.
        std::lock_guard lock(CodecLock());
        for (auto& contexts : FFiles.InputStreamContexts) contexts.clear();
    }
    for (auto& input : FFiles.InputFiles) input.reset();
    FFiles.NbInputFiles = 0;
}

void TCustomFFmpeg::ApplyOption(const std::string& name, const std::string& value) {
    // Most options parse their value with the libraries: refuse rather than call an unbound one.
    if (!MediaLibrariesLoaded()) throw FFmpegException("The media libraries are not loaded.");
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

}  // namespace kestrova
