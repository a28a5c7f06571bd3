// The transcode loop: set-up, then packet after packet from the input whose outputs lag
// behind most, with the timestamp corrections, the limits ("t", "fs", frame counts, "shortest"),
// join mode's inputs one after another, and at the end the flush, the trailers and the last
// report.
#include "engine/core/CustomFFmpeg.h"

#include "engine/core/FFmpegException.h"
#include "engine/core/outputs/WriteErrors.h"
#include "engine/core/run/PacketRelease.h"
#include "engine/core/run/RunTables.h"
#include "engine/core/video/VideoPathState.h"
#include "engine/frame/FFmpegLogger.h"
#include "engine/frame/Text.h"

#include <cinttypes>
#include <cmath>
#include <cstdlib>
#include <set>

namespace kestrova {

namespace {

constexpr int64_t kNoPacketPause = 10000;  // microseconds

}  // namespace

void TCustomFFmpeg::Transcode() {
    FStatistics = TRunStatistics{};
    FRunTables = std::make_unique<TRunTables>();
    TRunTables& run = *FRunTables;
    SetUpRun();

    FStatistics.StartTime = run.LastReportTime = ff::av_gettime();
    ClearNoPacketFlags();
    RunLoop();

    FlushRemainingInputs();
    WriteTrailers();
    PrintReport(true, -1);
    CloseOpenCodecs();
    if (!FStopRequested) CheckSomethingWasEncoded();
    FState.FinishedNormally = !FStopRequested;
    FRunTables.reset();
}

// A run that ended without a stop yet wrote no packet for a sound or picture stream of an
// output, or only packets its input never gave a packet for (an encoder's flush after a
// header-only input), failed: the file is removed when it holds nothing at all.
void TCustomFFmpeg::CheckSomethingWasEncoded() {
    std::set<const TOutputStream*> fed;
    for (const OutputStreamState& ost : FRunTables->OutputStreams)
        if (FRunTables->InputStreams[static_cast<std::size_t>(ost.SourceIndex)].PacketsRead > 0)
            fed.insert(ost.Output);
    for (int index = 0; index < FOutputs.NbOutputFiles; ++index) {
        TOutputFile& file = *FOutputs.Entries[index];
        if (index > 0 && FOutputs.Entries[index - 1] == &file) continue;  // a join's further entries
        int media = 0, empty = 0, firstEmpty = -1;
        for (std::size_t stream = 0; stream < file.Streams.size(); ++stream) {
            const TOutputStream& output = *file.Streams[stream];
            if (output.Kind != AVMEDIA_TYPE_VIDEO && output.Kind != AVMEDIA_TYPE_AUDIO) continue;
            ++media;
            if (output.PacketsWritten > 0 && fed.count(&output) > 0) continue;
            ++empty;
            if (firstEmpty < 0) firstEmpty = static_cast<int>(stream);
        }
        if (empty == 0) continue;
        if (empty == media) {
            file.RemoveWhenReleased = true;
            throw FFmpegException(FormatText("Output file #%d is empty, nothing was encoded", index));
        }
        throw FFmpegException(
                FormatText("Output stream #%d:%d is empty, nothing was encoded", index, firstEmpty));
    }
}

// Set-up in its order. A failure to open a codec or to apply a meta-data map is logged only
// after the stream mapping, so that the log shows what was being opened.
void TCustomFFmpeg::SetUpRun() {
    FVideoPath->CustomHookOn = static_cast<bool>(OnCustomHook);
    BuildInputTables();
    BuildOutputTables();
    ChooseSources();
    PrepareOutputStreams();
    std::string failure = OpenEncoders();
    if (failure.empty()) failure = OpenDecoders();
    if (failure.empty()) {
        ResetInputTimes();
        failure = ApplyMetaDataMaps();
    }
    if (failure.empty()) WriteHeaders();
    LogStreamMapping();
    if (!failure.empty()) {
        TFFLogger::Instance().Log(this, llError, failure);
        throw FFmpegException(failure);
    }
}

void TCustomFFmpeg::RunLoop() {
    TRunTables& run = *FRunTables;
    while (KeepRunning()) {
        TOutputTimes times;
        const int fileIndex = FState.Join ? ChooseJoinInput(times) : ChooseInput(times);
        if (fileIndex < 0) {
            // Nothing to read: the end, unless some input only had nothing ready yet.
            if (FState.Join || run.NbNoPacket == 0) break;
            ClearNoPacketFlags();
            ff::av_usleep(kNoPacketPause);
            continue;
        }
        if ((LimitByLongestStream ? times.Max : times.Min) >= FRun.RecordingTimeSeconds) break;
        if (SizeLimitReached()) break;

        AVPacket* packet = run.Packet.get();
        const int result = ff::av_read_frame(FFiles.InputFiles[fileIndex].get(), packet);
        if (result == AVERROR(EAGAIN)) {
            run.InputFiles[fileIndex].NoPacket = true;
            ++run.NbNoPacket;
            continue;
        }
        if (result < 0) {
            if (!ContinueAfterInputEnd(fileIndex)) break;
            continue;
        }
        ClearNoPacketFlags();
        HandlePacket(fileIndex, *packet);
    }
}

void TCustomFFmpeg::ClearNoPacketFlags() {
    TRunTables& run = *FRunTables;
    for (TInputFileState& file : run.InputFiles) file.NoPacket = false;
    run.NbNoPacket = 0;
}

double TCustomFFmpeg::OutputTime(const OutputStreamState& ost) const {
    const TOutputStream& output = *ost.Output;
    if (output.Kind == AVMEDIA_TYPE_VIDEO && ost.EncodingNeeded)
        return static_cast<double>(ost.SyncOpts) * ::av_q2d(output.Codec->time_base);
    return static_cast<double>(ost.CurrentPts) * ::av_q2d(output.Stream->time_base);
}

bool TCustomFFmpeg::FrameLimitReached(const OutputStreamState& ost) const {
    const int kind = ost.Output->Kind;
    return kind >= fkVideo && kind <= fkSubtitle && ost.FrameNumber >= FRun.MaxFrames[kind];
}

// The input whose output streams are least advanced (by output time, or by input time with
// "isync"); -1 when a frame limit is reached or no input can deliver.
int TCustomFFmpeg::ChooseInput(TOutputTimes& times) const {
    const TRunTables& run = *FRunTables;
    int chosen = -1;
    double minInputTime = 1e100;
    for (const OutputStreamState& ost : run.OutputStreams) {
        const InputStreamState& ist = run.InputStreams[ost.SourceIndex];
        const TInputFileState& file = run.InputFiles[ist.FileIndex];
        if (file.NoPacket) continue;
        const double outputTime = OutputTime(ost);
        if (!file.EndOfFile) {
            const auto inputTime = static_cast<double>(ist.Pts);
            if (inputTime < minInputTime) {
                minInputTime = inputTime;
                if (FRun.InputSync) chosen = ist.FileIndex;
            }
            if (outputTime < times.Min) {
                times.Min = outputTime;
                if (!FRun.InputSync) chosen = ist.FileIndex;
            }
            if (outputTime > times.Max) times.Max = outputTime;
        }
        if (FrameLimitReached(ost)) return -1;
    }
    return chosen;
}

// Join mode plays the inputs one after another: the current one, unless a frame limit is reached.
int TCustomFFmpeg::ChooseJoinInput(TOutputTimes& times) const {
    const TRunTables& run = *FRunTables;
    const int first = run.JoinIndex * run.StreamsPerSegment;
    for (int i = first; i < first + run.StreamsPerSegment; ++i) {
        const OutputStreamState& ost = run.OutputStreams[i];
        const double outputTime = OutputTime(ost);
        times.Min = std::min(times.Min, outputTime);
        times.Max = std::max(times.Max, outputTime);
        if (FrameLimitReached(ost)) return -1;
    }
    return run.JoinIndex;
}

bool TCustomFFmpeg::SizeLimitReached() const {
    if (FRun.LimitFileSize <= 0 || FOutputs.NbOutputFiles == 0) return false;
    AVIOContext* io = FOutputs.Entries[0]->Context->pb;
    // avio_tell is a header inline over avio_seek.
    return io && ff::avio_seek(io, 0, SEEK_CUR) > FRun.LimitFileSize;
}

void TCustomFFmpeg::HandlePacket(int fileIndex, AVPacket& packet) {
    TRunTables& run = *FRunTables;
    TPacketRelease release{&packet};
    const TInputFileState& file = run.InputFiles[fileIndex];
    const bool known = packet.stream_index >= 0 && packet.stream_index < file.NbStreams;
    if (FRun.PacketDump && known)
        ff::av_pkt_dump_log2(nullptr, AV_LOG_DEBUG, &packet, FRun.HexDump,
                             FFiles.InputFiles[fileIndex]->streams[packet.stream_index]);
    if (!known) return;
    InputStreamState& ist = run.InputStreams[file.FirstStream + packet.stream_index];
    if (ist.Discard) return;
    ++ist.PacketsRead;

    CorrectTimestamps(ist, packet);
    if (OutputPacket(ist, &packet) < 0) {
        const std::string message =
                FormatText("Error while decoding stream #%d.%d (%s)", ist.FileIndex, ist.StreamIndex,
                           MediaKindName(ist.Stream->codecpar->codec_type));
        if (FRun.ExitOnError) throw FFmpegException(message);
        if (FRun.Verbose >= 0) TFFLogger::Instance().Log(this, llVerbose, message);
        return;
    }
    const int64_t now = ff::av_gettime();
    if (now - run.LastReportTime > FState.ProgressInterval) {
        run.LastReportTime = now;
        PrintReport(false, fileIndex);
    }
}

// The input's offset, the stream's scale and, for formats whose timestamps may jump, the
// discontinuity correction.
void TCustomFFmpeg::CorrectTimestamps(InputStreamState& ist, AVPacket& packet) {
    const AVRational timeBase = ist.Stream->time_base;
    int64_t& offset = FFiles.InputFilesTsOffset[ist.FileIndex];
    if (offset != 0) {
        const int64_t shift = ff::av_rescale_q(offset, kMicroseconds, timeBase);
        if (packet.dts != AV_NOPTS_VALUE) packet.dts += shift;
        if (packet.pts != AV_NOPTS_VALUE) packet.pts += shift;
    }

    const double scale =
            ist.StreamIndex < kMaxStreams ? FFiles.InputFilesTsScale[ist.FileIndex][ist.StreamIndex] : 0;
    if (scale != 0) {
        if (packet.pts != AV_NOPTS_VALUE) packet.pts = std::llrint(static_cast<double>(packet.pts) * scale);
        if (packet.dts != AV_NOPTS_VALUE) packet.dts = std::llrint(static_cast<double>(packet.dts) * scale);
    }

    const AVInputFormat* format = FFiles.InputFiles[ist.FileIndex]->iformat;
    if (packet.dts == AV_NOPTS_VALUE || ist.NextPts == kNoTimeValue || !(format->flags & AVFMT_TS_DISCONT))
        return;
    const int64_t dts = ff::av_rescale_q(packet.dts, timeBase, kMicroseconds);
    const int64_t delta = dts - ist.NextPts;
    const double threshold = static_cast<double>(FRun.DtsDeltaThreshold) * 1000000;
    if ((static_cast<double>(std::llabs(delta)) > threshold || dts + 1 < ist.Pts) && !FRun.CopyTs) {
        offset -= delta;
        if (FRun.Verbose > 2)
            TFFLogger::Instance().Log(
                    this, llVerbose,
                    FormatText("timestamp discontinuity %" PRId64 ", new offset= %" PRId64, delta, offset));
        const int64_t correction = ff::av_rescale_q(delta, kMicroseconds, timeBase);
        packet.dts -= correction;
        if (packet.pts != AV_NOPTS_VALUE) packet.pts -= correction;
    }
}

// The end of an input: false when the loop ends with it.
bool TCustomFFmpeg::ContinueAfterInputEnd(int fileIndex) {
    TRunTables& run = *FRunTables;
    TInputFileState& file = run.InputFiles[fileIndex];
    file.EndOfFile = true;
    if (FRun.Shortest && !FState.Join) return false;
    if (!FState.Join) return true;

    // Join mode: drain this input's decoders (and so the encoders they feed) and move on.
    for (int i = file.FirstStream; i < file.FirstStream + file.NbStreams; ++i) {
        InputStreamState& ist = run.InputStreams[i];
        if (!ist.DecodingNeeded) continue;
        OutputPacket(ist, nullptr);
        if (ist.DecoderOpen) ff::avcodec_flush_buffers(ist.Decoder);
        ist.Flushed = true;
    }
    const bool lastInput = run.JoinIndex + 1 >= static_cast<int>(run.InputFiles.size());
    // A drained encoder takes no more frames: the next input gets fresh ones.
    if (!lastInput) ReopenEncoders();
    CarryStreamsForward();

    double maxOutputTime = 0;
    const int first = run.JoinIndex * run.StreamsPerSegment;
    for (int i = first; i < first + run.StreamsPerSegment; ++i)
        maxOutputTime = std::max(maxOutputTime, OutputTime(run.OutputStreams[i]));
    if (lastInput) return false;
    // The next input starts where this one ended.
    FFiles.InputFilesTsOffset[run.JoinIndex + 1] += std::llround(maxOutputTime * 1000000);
    ++run.JoinIndex;
    return true;
}

// Each later segment's streams continue where the segment before them stands.
void TCustomFFmpeg::CarryStreamsForward() {
    TRunTables& run = *FRunTables;
    const int per = run.StreamsPerSegment;
    const int segments = per > 0 ? static_cast<int>(run.OutputStreams.size()) / per : 0;
    for (int segment = run.JoinIndex + 1; segment < segments; ++segment) {
        for (int s = 0; s < per; ++s) {
            const OutputStreamState& before = run.OutputStreams[(segment - 1) * per + s];
            OutputStreamState& after = run.OutputStreams[segment * per + s];
            after.SyncOpts = before.SyncOpts;
            after.FrameNumber = before.FrameNumber;
            after.CurrentPts = before.CurrentPts;
            after.LastDts = before.LastDts;
        }
    }
}

void TCustomFFmpeg::FlushRemainingInputs() {
    TRunTables& run = *FRunTables;
    for (InputStreamState& ist : run.InputStreams)
        if (ist.DecodingNeeded && !ist.Flushed) OutputPacket(ist, nullptr);
}

void TCustomFFmpeg::WriteTrailers() {
    TRunTables& run = *FRunTables;
    for (int i = 0; i < run.HeadersWritten; ++i) {
        TOutputFile& file = *FOutputs.Entries[i];
        for (auto& stream : file.Streams) FlushBitstreamFilters(file, *stream);
        // A trailer that cannot be written leaves a broken file: that is a failed run.
        const int written = ff::av_write_trailer(file.Context.get());
        if (file.Context->pb && file.Context->pb->error < 0)
            throw FFmpegException(WriteFailureText(
                    FormatText("Could not write trailer for output file #%d", i), file.Context->pb->error));
        if (written < 0) throw FFmpegException(FormatText("Could not write trailer for output file #%d", i));
    }
}

}  // namespace kestrova
