// The last set-up steps before the loop: input times, meta-data maps, the output headers and
// the stream-mapping log.
#include "engine/core/CustomFFmpeg.h"

#include "engine/core/FFmpegException.h"
#include "engine/core/outputs/WriteErrors.h"
#include "engine/core/run/RunTables.h"
#include "engine/frame/FFmpegLogger.h"
#include "engine/frame/Text.h"

#include <array>
#include <cstring>

namespace kestrova {

void TCustomFFmpeg::ResetInputTimes() {
    TRunTables& run = *FRunTables;
    for (InputStreamState& ist : run.InputStreams) {
        ist.Pts = 0;
        ist.NextPts = kNoTimeValue;
        ist.IsStart = true;
    }
}

std::string TCustomFFmpeg::ApplyMetaDataMaps() {
    for (int i = 0; i < FFiles.NbMetaDataMaps; ++i) {
        const TMetaDataMap& map = FFiles.MetaDataMaps[i];
        if (map.OutFile < 0 || map.OutFile >= FOutputs.NbOutputFiles)
            return FormatText("Invalid output file index %d map_meta_data(%d,%d)", map.OutFile, map.OutFile,
                              map.InFile);
        if (map.InFile < 0 || map.InFile >= FFiles.NbInputFiles)
            return FormatText("Invalid input file index %d map_meta_data(%d,%d)", map.InFile, map.OutFile,
                              map.InFile);
        AVFormatContext& output = *FOutputs.Entries[map.OutFile]->Context;
        ff::av_dict_copy(&output.metadata, FFiles.InputFiles[map.InFile]->metadata, 0);
    }
    return {};
}

// The number of distinct output files: a join output is one file however many entries it has.
int TCustomFFmpeg::DistinctOutputCount() const {
    return FState.Join ? 1 : FOutputs.NbOutputFiles;
}

void TCustomFFmpeg::WriteHeaders() {
    TRunTables& run = *FRunTables;
    for (int i = 0; i < DistinctOutputCount(); ++i) {
        TOutputFile& file = *FOutputs.Entries[i];
        AVDictionary* options = nullptr;
        if (file.MuxerOptions) ff::av_dict_copy(&options, file.MuxerOptions.get(), 0);
        const int result = ff::avformat_write_header(file.Context.get(), &options);
        DictionaryPtr leftOver(options);
        if (const int error = OutputWriteError(*file.Context, result);
            error < 0 && file.Context->pb && file.Context->pb->error < 0) {
            const std::string message =
                    WriteFailureText(FormatText("Could not write header for output file #%d", i), error);
            TFFLogger::Instance().Log(this, llError, message);
            throw FFmpegException(message);
        }
        if (result < 0) {
            const std::string message = FormatText(
                    "Could not write header for output file #%d (incorrect codec parameters ?)", i);
            TFFLogger::Instance().Log(this, llError, message);
            throw FFmpegException(message);
        }
        run.HeadersWritten = i + 1;
    }
    LogSessionDescription();
}

// When every output is an RTP stream, the session description the receivers need.
void TCustomFFmpeg::LogSessionDescription() {
    std::array<AVFormatContext*, kMaxFiles> contexts{};
    const int count = DistinctOutputCount();
    for (int i = 0; i < count; ++i) {
        contexts[i] = FOutputs.Entries[i]->Context.get();
        if (std::strcmp(contexts[i]->oformat->name, "rtp") != 0) return;
    }
    std::array<char, 2048> sdp{};
    ff::av_sdp_create(contexts.data(), count, sdp.data(), static_cast<int>(sdp.size()));
    TFFLogger::Instance().Log(this, llInfo, std::string("SDP:\r\n") + sdp.data());
}

void TCustomFFmpeg::LogStreamMapping() {
    const TRunTables& run = *FRunTables;
    for (int i = 0; i < DistinctOutputCount(); ++i) {
        const TOutputFile& file = *FOutputs.Entries[i];
        ff::av_dump_format(file.Context.get(), i, file.Context->url, 1);
    }
    if (FRun.Verbose < 0) return;
    TFFLogger& logger = TFFLogger::Instance();
    logger.Log(this, llVerbose, "Stream mapping:");
    for (const OutputStreamState& ost : run.OutputStreams) {
        const InputStreamState& source = run.InputStreams[ost.SourceIndex];
        const char* kind = MediaKindName(ost.Output->Kind);
        std::string line = FormatText("  Stream #%d.%d -> #%d.%d (%s)", source.FileIndex, source.StreamIndex,
                                      FState.Join ? 0 : ost.FileIndex, ost.Index, kind);
        if (ost.SyncIndex != ost.SourceIndex) {
            const InputStreamState& sync = run.InputStreams[ost.SyncIndex];
            line += FormatText(" [sync #%d.%d (%s)]", sync.FileIndex, sync.StreamIndex,
                               MediaKindName(sync.Stream->codecpar->codec_type));
        }
        logger.Log(this, llVerbose, line);
    }
}

}  // namespace kestrova
