#include "engine/front/FFmpegTask.h"

#include "engine/core/FFmpegException.h"
#include "engine/frame/FFmpegLogger.h"
#include "engine/frame/Text.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace kestrova {

std::size_t TFFmpeg::SlotIndex(int slot) {
    if (slot < 0 || slot >= kMaxFiles)
        throw std::out_of_range(FormatText("slot index %d out of range", slot));
    return static_cast<std::size_t>(slot);
}

TFFmpeg::~TFFmpeg() {
    if (WorkerThread()) StopConvert(true);
    FreeClosedInput();
}

namespace {

std::string ChangedSinceAdded(const std::string& fileName) {
    return fileName + ": the file has changed since it was added";
}

}  // namespace

std::optional<TFFmpeg::TFileStamp> TFFmpeg::StampOf(const std::string& fileName) {
    std::error_code error;
    const std::filesystem::path path(fileName);
    if (!std::filesystem::is_regular_file(path, error) || error) return std::nullopt;
    TFileStamp stamp;
    stamp.Size = std::filesystem::file_size(path, error);
    if (error) return std::nullopt;
    const auto modified = std::filesystem::last_write_time(path, error);
    if (error) return std::nullopt;
    stamp.Modified = modified.time_since_epoch();
    return stamp;
}

void TFFmpeg::SetInputAside(const std::string& fileName, const TInputOptions* inputOptions) {
    if (FClosedInput || NbInputFiles() != 1 || !FFiles.InputFiles[0]) return;
    const std::optional<TFileStamp> stamp = StampOf(fileName);
    if (!stamp) return;
    auto closedInput = std::make_unique<TClosedInput>(*FFiles.InputFiles[0]);
    InputFilePtr described = closedInput->TakeContext();
    FFiles.InputFiles[0].swap(described);
    FClosedInput = std::move(closedInput);
    FSetAsideName = fileName;
    if (inputOptions) FSetAsideOptions = *inputOptions;
    FSetAsideVerbose = RunSettings().Verbose;
    FSetAsideStamp = *stamp;
    if (HasInputProbe(0)) InputProbe(0).AttachContext(FFiles.InputFiles[0].get());
    described.reset();  // the opened input, now that the probe no longer refers to it
}

std::string TFFmpeg::ReopenInput() {
    if (StampOf(FSetAsideName) != FSetAsideStamp && std::filesystem::exists(FSetAsideName))
        return ChangedSinceAdded(FSetAsideName);
    // The same steps as the add, on a job of its own: the task's settings have moved on since.
    TFFmpeg reopening;
    // The input moves here, so its callback asks this task's sources. The open itself is not
    // cut short by a stop that comes meanwhile (the run then ends at once, its outputs
    // complete); the host's flag still ends it.
    reopening.FInputInterrupt = &FInterrupt;
    FInterrupt.Job = nullptr;
    struct TRestoreJobStop {
        TInterruptSources& Sources;
        std::atomic<bool>& Stop;
        ~TRestoreJobStop() { Sources.Job = &Stop; }
    } restore{FInterrupt, FStopRequested};
    try {
        reopening.ResetJob();
        reopening.SetVerbose(FSetAsideVerbose);
        if (FSetAsideOptions) {
            TInputOptions options = *FSetAsideOptions;
            ApplyInputOptions(reopening, options, FSetAsideName);
        }
        if (!reopening.AddInputFile(FSetAsideName)) return reopening.LastError();
    } catch (const std::exception& error) {
        return error.what();
    }
    if (!TClosedInput::SameStreams(*FFiles.InputFiles[0], *reopening.FFiles.InputFiles[0]))
        return ChangedSinceAdded(FSetAsideName);
    // Streams the outputs added meanwhile chose to drop stay dropped.
    AVFormatContext& reopened = *reopening.FFiles.InputFiles[0];
    for (unsigned i = 0; i < reopened.nb_streams; ++i)
        reopened.streams[i]->discard = FFiles.InputFiles[0]->streams[i]->discard;
    FFiles.InputFiles[0].swap(reopening.FFiles.InputFiles[0]);
    FFiles.InputStreamContexts[0].swap(reopening.FFiles.InputStreamContexts[0]);
    FFiles.InputFilesTsOffset[0] = reopening.FFiles.InputFilesTsOffset[0];
    // The description now sits in the other job, which frees it with its input tables.
    reopening.ReleaseJob();
    FClosedInput.reset();
    if (HasInputProbe(0)) InputProbe(0).AttachContext(FFiles.InputFiles[0].get());
    return {};
}

void TFFmpeg::PrepareInputs() {
    if (!FClosedInput) return;
    if (const std::string failure = ReopenInput(); !failure.empty()) throw FFmpegException(failure);
}

void TFFmpeg::FailLaunch(const std::string& message) {
    if (RunState().Terminated) return;  // the notice has been given
    TFFLogger::Instance().Log(this, llQuiet, message);
    ReleaseJob();  // the description, and the outputs the job made and never wrote
    FState.Failed = true;
    FState.FailureText = message;
    FState.FinishedNormally = false;
    FState.Running = false;
    FState.Terminated = true;
    if (OnTerminate) OnTerminate(*this);
}

TConvertThread* TFFmpeg::Launch(bool threaded, TThreadPriority priority) {
    try {
        return StartConvert(threaded, priority);
    } catch (const std::exception& error) {
        FailLaunch(FormatText("Cannot start the task: %s", error.what()));
        return nullptr;
    }
}

TFFmpeg::TOutputsMark TFFmpeg::MarkOutputs() const {
    return {FOutputs.NbOutputFiles, FOutputs.Owned.size(), FFiles.NbOutputCodecs, FState.Join,
            FState.TotalDuration};
}

void TFFmpeg::RemoveOutputsSince(const TOutputsMark& mark) {
    std::fill(FOutputs.Entries.begin() + mark.Entries, FOutputs.Entries.end(), nullptr);
    FOutputs.NbOutputFiles = mark.Entries;
    while (FOutputs.Owned.size() > mark.Files) FOutputs.Owned.pop_back();
    std::fill(FFiles.OutputCodecs.begin() + mark.Codecs, FFiles.OutputCodecs.end(), nullptr);
    FFiles.NbOutputCodecs = mark.Codecs;
    FState.Join = mark.Join;
    FState.TotalDuration = mark.TotalDuration;
}

void TFFmpeg::FreeClosedInput() {
    if (!FClosedInput) return;
    // The describing context names the description's format: it goes first.
    FFiles.InputFiles[0].reset();
    FClosedInput.reset();
}

TAVProbe& TFFmpeg::InputProbe(int slot) {
    std::unique_ptr<TAVProbe>& probe = FInputProbes[SlotIndex(slot)];
    if (!probe) probe = std::make_unique<TAVProbe>();
    return *probe;
}

bool TFFmpeg::HasInputProbe(int slot) const {
    return FInputProbes[SlotIndex(slot)] != nullptr;
}

void TFFmpeg::AttachInputProbe(int slot) {
    InputProbe(slot).AttachContext(Files().InputFiles[SlotIndex(slot)].get());
}

void TFFmpeg::DetachInputProbes() {
    for (std::unique_ptr<TAVProbe>& probe : FInputProbes)
        if (probe) probe->CloseFile();
}

TInputOptions& TFFmpeg::KeptInputOptions(int slot) {
    return FInputOptions[SlotIndex(slot)];
}
const TInputOptions& TFFmpeg::KeptInputOptions(int slot) const {
    return FInputOptions[SlotIndex(slot)];
}
TOutputOptions& TFFmpeg::KeptOutputOptions(int slot) {
    return FOutputOptions[SlotIndex(slot)];
}
const TOutputOptions& TFFmpeg::KeptOutputOptions(int slot) const {
    return FOutputOptions[SlotIndex(slot)];
}

}  // namespace kestrova
