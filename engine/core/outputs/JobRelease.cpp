// Releasing a job: its output files (closed, freed, removed when left empty), its inputs and
// everything the pending settings hold.
#include "engine/core/CustomFFmpeg.h"

#include "engine/frame/FFmpegLoader.h"
#include "engine/frame/UnicodeProtocol.h"

#include <filesystem>
#include <mutex>
#include <system_error>

namespace kestrova {

namespace {

// Removes an output file the job made that received no byte (a failed or never started run),
// or into which the run encoded nothing. Only regular files: an output may be a device such as
// /dev/null. A file that was there before the job is never removed.
void RemoveIfEmpty(const TOutputFile& output) {
    if (output.FileName.empty() || output.ExistedBefore) return;
    std::error_code error;
    const std::filesystem::path file(output.FileName);
    if (!std::filesystem::is_regular_file(file, error) || error) return;
    const bool empty = std::filesystem::file_size(file, error) == 0 && !error;
    if (empty || output.RemoveWhenReleased) std::filesystem::remove(file, error);
}

}  // namespace

TOutputFile::~TOutputFile() {
    {
        // Freeing an encoder context closes the encoder: not alongside other jobs' codec calls.
        std::lock_guard lock(CodecLock());
        Streams.clear();
    }
    if (Context) {
        const bool hasFile = Context->oformat && !(Context->oformat->flags & AVFMT_NOFILE);
        if (hasFile && Context->pb) CloseOutputIO(&Context->pb);
        Context.reset();
    }
    RemoveIfEmpty(*this);
}

void TCustomFFmpeg::ReleaseOutputFiles() {
    FOutputs.Entries.fill(nullptr);
    FOutputs.Owned.clear();  // each file once, join outputs included
    FOutputs.NbOutputFiles = 0;
    FFiles.OutputCodecs.fill(nullptr);
    FFiles.NbOutputCodecs = 0;
    FState.Join = false;
}

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

TOutputFile* TCustomFFmpeg::OutputFile(int index) {
    return index >= 0 && index < FOutputs.NbOutputFiles ? FOutputs.Entries[index] : nullptr;
}

const TOutputFile* TCustomFFmpeg::OutputFile(int index) const {
    return index >= 0 && index < FOutputs.NbOutputFiles ? FOutputs.Entries[index] : nullptr;
}

}  // namespace kestrova
