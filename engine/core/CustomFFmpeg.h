#pragma once
// TCustomFFmpeg: one conversion job, and the job's public face. Options arrive as (name, value)
// pairs and are applied at once; input and output files are added one at a time, each taking the
// settings current when it is added; a run maps the streams, opens the codecs and transcodes.
//
// This header is all a user of the job includes (the command-line front, the engine component,
// tests): it brings the records the job exposes (Job.h, RunEvents.h, outputs/OutputFiles.h, the
// option and preset interfaces). The run's tables and the per-stage state (run/RunTables.h and
// the state headers of the stages) are only for the core, which includes them where it needs
// them; here they are only named.
#include "engine/core/Job.h"
#include "engine/core/RunEvents.h"
#include "engine/core/options/GenericOptions.h"
#include "engine/core/options/Presets.h"
#include "engine/core/options/TargetPresets.h"
#include "engine/core/outputs/OutputFiles.h"
#include "engine/frame/ConvertThreads.h"
#include "engine/frame/FrameHook.h"
#include "engine/frame/InterruptCheck.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kestrova {

// Only for the core: the run's tables and per-stage state (run/RunTables.h, video/VideoPathState.h).
struct InputStreamState;
struct OutputStreamState;
struct TRunTables;
struct TOutputTimes;
struct TVideoPathState;

// Which media kinds the inputs hold (see TCustomFFmpeg::InputKinds).
struct TInputKinds {
    bool HasVideo = false;
    bool HasAudio = false;
    bool HasSubtitle = false;
};

// The members by the file that defines them (all below engine/core/):
//   CustomFFmpeg.cpp          construction, reset, ApplyOption, SetAVOption, AddMetadata
//   options/TypedSetters.cpp  the typed setters and the checks they share with the options
//   options/PresetOptions.cpp presets, target presets, the preset and target preset targets
//   options/OptionTable.cpp   the option vocabulary (TOptionTable, a friend)
//   inputs/Inputs.cpp         AddInputFile, InputKinds and their steps
//   outputs/Outputs.cpp       AddOutputFile and its steps, join mode
//   outputs/OutputStreams.cpp the output streams made from the pending settings
//   outputs/WritePacket.cpp   WritePacket through the bitstream filters
//   outputs/OutputHeaders.cpp input times, meta-data maps, headers, the stream-mapping log
//   outputs/JobRelease.cpp    ReleaseJob, OutputFile
//   run/RunControl.cpp        StartConvert, RunConvert, stop, pause, the terminate notice
//   run/StreamMapping.cpp     the run's tables, the sources of the output streams, set-up
//   run/CodecOpening.cpp      opening, re-opening and closing the run's codecs
//   run/Transcode.cpp         the transcode loop, timestamps, limits, join mode, trailers
//   run/OutputPacket.cpp      decoding a packet and handing it to the output paths
//   run/StreamCopy.cpp        stream copy
//   run/EncodedPackets.cpp    encoders to packets, packets to the output files
//   run/Progress.cpp          the progress report
//   video/PreProcessVideo.cpp deinterlacing and hooks on decoded pictures
//   video/CustomHook.cpp      the front's picture hook and its round trip through a bitmap
//   video/PreviewHandOff.cpp  encoded pictures to the preview bitmap or window, the preview flags
//   video/VideoOut.cpp        the video output path: frame-rate sync, crop, scale, pad
//   video/VideoFilters.cpp    the video filter chain
//   video/SubtitleOut.cpp     the subtitle output path
//   audio/AudioOut.cpp        the audio output path and its fifo
//
// The job applies presets and target presets to itself (options/Presets.h, options/TargetPresets.h).
class TCustomFFmpeg : public TPresetTarget, public TTargetPresetTarget {
public:
    TCustomFFmpeg();
    virtual ~TCustomFFmpeg();
    TCustomFFmpeg(const TCustomFFmpeg&) = delete;
    TCustomFFmpeg& operator=(const TCustomFFmpeg&) = delete;

    // Releases everything of a previous run and restores every default, the option contexts
    // included. Does nothing while the media libraries are not loaded.
    void ResetJob();
    // Closes the inputs and outputs and frees what the job holds; the counts return to 0.
    void ReleaseJob();

    // --- Options -------------------------------------------------------------------------
    // Applies one option pair; raises FFmpegException on a bad value (the job is then left as
    // it was). Names outside the vocabulary go to SetAVOption.
    void ApplyOption(const std::string& name, const std::string& value);
    // Sets a generic codec, format or scaler option (or a private option of the pending
    // encoder or muxer); false when nothing knows it or the value is refused. Never raises.
    bool SetAVOption(const std::string& name, const std::string& value);
    bool SetAVOptionInt(const std::string& name, int64_t value);
    void AddMetadata(const std::string& key, const std::string& value);

    // --- Typed setters (the checks of the options of the same name; unset values, that is
    // empty texts and negative numbers, are ignored) ------------------------------------------
    void SetFrameSize(const std::string& size);
    void SetFrameRate(const std::string& rate);
    void SetAspectRatio(const std::string& aspect);
    void SetCropTop(int band);
    void SetCropBottom(int band);
    void SetCropLeft(int band);
    void SetCropRight(int band);
    void SetPadTop(int size);
    void SetPadBottom(int size);
    void SetPadLeft(int size);
    void SetPadRight(int size);
    void SetPadColor(uint32_t rgb);  // red in bits 0-7, green 8-15, blue 16-23
    void SetPixelFormat(const std::string& format);
    void SetSampleRate(int rate);
    void SetChannels(int channels);
    void SetVideoCodec(const std::string& name);
    void SetAudioCodec(const std::string& name);
    void SetSubtitleCodec(const std::string& name);
    void SetVideoTag(const std::string& tag);
    void SetAudioTag(const std::string& tag);
    void SetSubtitleTag(const std::string& tag);
    void SetVideoLanguage(const std::string& language);
    void SetAudioLanguage(const std::string& language);
    void SetSubtitleLanguage(const std::string& language);
    void SetVideoPreset(const std::string& preset);
    void SetAudioPreset(const std::string& preset);
    void SetSubtitlePreset(const std::string& preset);
    void SetMuxPreload(float seconds);   // ignored unless > 0
    void SetMuxMaxDelay(float seconds);  // ignored unless > 0
    void SetVolume(int volume);          // ignored if negative
    void SetAudioSyncMethod(int method);
    void SetVideoSyncMethod(int method);
    void SetCopyTimestamps(bool copy);
    void SetStartTime(int64_t microseconds);      // kNoTimeValue leaves it unchanged
    void SetRecordingTime(int64_t microseconds);  // kNoTimeValue leaves it unchanged
    void SetProgramId(int id);                    // ignored if negative
    void SetFileFormat(const std::string& format);
    void SetVerbose(int verbose);
    void SetPreview(bool on);
    void SetPreviewBitmap(bool on);

    // --- Inputs --------------------------------------------------------------------------
    // Opens one input file; false with LastError() set when it cannot be added.
    bool AddInputFile(const std::string& fileName);
    // Over all inputs (only the first with firstOnly): which kinds they hold. Raises
    // "invalid codec_type of input file" for a stream of no known kind.
    TInputKinds InputKinds(bool firstOnly) const;

    // --- Outputs -------------------------------------------------------------------------
    // Adds an output file with streams made from the pending settings; the new number of
    // output entries, or -1 with LastError() set. With `join` and several inputs, the inputs
    // are written one after another into this one file.
    int AddOutputFile(const std::string& fileName, bool join);
    // Writes one packet of `stream` to `file` through the stream's bitstream filters. Raises
    // FFmpegException when the packet cannot be written.
    void WritePacket(TOutputFile& file, TOutputStream& stream, AVPacket* packet);
    // Drains what the stream's bitstream filters still hold into the file (end of stream).
    void FlushBitstreamFilters(TOutputFile& file, TOutputStream& stream);
    // Output entry `index` (a join output fills several entries with one file); null when
    // there is no such entry.
    TOutputFile* OutputFile(int index);
    const TOutputFile* OutputFile(int index) const;

    // --- Preset and target preset targets (the job applies them to itself) --------------
    std::string CodecName(char kind) const override;
    void SetCodecName(char kind, const std::string& name) override;
    AVRational PendingFrameRate() const override;
    std::vector<AVRational> InputVideoFrameRates() const override;
    bool AspectRatioSet() const override;
    int Channels() const override;
    int Verbosity() const override;
    void Log(int level, const std::string& message) override;

    // --- Reading the job -----------------------------------------------------------------
    const TFileTables& Files() const { return FFiles; }
    const TPendingVideo& PendingVideo() const { return FVideo; }
    const TPendingAudio& PendingAudio() const { return FAudio; }
    const TPendingSubtitle& PendingSubtitle() const { return FSubtitle; }
    const TRunSettings& RunSettings() const { return FRun; }
    const TRunState& RunState() const { return FState; }
    const TGenericOptions& GenericOptions() const { return FOptions; }
    const TBitstreamFilterChains& BitstreamFilters() const { return FBitstreamFilters; }
    const TFrameHookList& VideoHooks() const { return FVideoHooks; }
    const std::string& LastError() const { return FLastError; }
    int64_t TotalDuration() const { return FState.TotalDuration; }
    int NbInputFiles() const { return FFiles.NbInputFiles; }
    int NbOutputFiles() const { return FOutputs.NbOutputFiles; }

    // --- Run -----------------------------------------------------------------------------
    // Maps the streams, opens the codecs and runs the transcode loop to its end; the terminate
    // notice comes once at the end, also when the start fails. Not threaded: the run happens in
    // the calling thread and nothing is returned. Threaded: returns the worker, still suspended
    // (the caller resumes it); the job owns it, and it stays valid as long as the job.
    TConvertThread* StartConvert(bool threaded, TThreadPriority priority = tpNormal);
    // The body of a run: the loop, then the tear-down, ReleaseJob and the terminate notice.
    void RunConvert();
    // Ends the job whatever its state: a running job is asked to stop after the packet it is
    // handling (a paused worker is resumed to see it), one that never started gets its
    // terminate notice from a thread of its own, a terminated one is left alone. With `wait`,
    // returns once the worker or the notice thread has ended (the main thread keeps running
    // the calls workers hand to it meanwhile). A job running in another caller's thread only
    // gets its stop flag set: safe from any thread and from a signal handler.
    void StopConvert(bool wait);
    void TerminateConvert(bool wait);
    // A flag of the host that, once set, makes the opening, stream search and reads of this
    // job's inputs give up as the job's own stop request does (null: none). It must outlive
    // the job; a signal handler may set it.
    void SetHostInterrupt(const std::atomic<bool>* flag) { FInterrupt.Host = flag; }
    // Pause and resume of a threaded run: the worker parks at its next packet or event.
    void SuspendConvert();
    void ResumeConvert();
    // The live worker of a threaded run; null before the run and once its notice was given.
    TConvertThread* WorkerThread() const { return FLiveWorker.load(); }
    void SetProgressInterval(int64_t microseconds) { FState.ProgressInterval = microseconds; }
    // Wall-clock time between two pictures handed to the preview (0: every encoded picture).
    void SetPreviewInterval(int64_t microseconds) { FState.PreviewInterval = microseconds; }
    // The preview flags (kPreviewWindowFlag, kPreviewBitmapFlag). Every job's flags are read and
    // written under one process-wide lock, so a host may switch them while the job runs.
    int PreviewFlags() const;
    // Cores for the decoders and encoders the next run opens (0: threads as the options made them).
    void SetCodecCores(int count) { FState.CodecCores = count; }
    // run/CodecCoreShare.cpp: the next run's codecs get this job's share of the processor cores
    // when `jobsAtOnce` jobs run side by side (this one included); a thread count the options
    // chose ("threads") wins over the share.
    void ShareCodecCores(int jobsAtOnce);
    const TRunStatistics& Statistics() const { return FStatistics; }

    // Installed by the front before the run starts.
    TProgressCallback OnProgress;
    TTerminateCallback OnTerminate;
    TCustomHookCallback OnCustomHook;
    TPreviewBitmapCallback OnPreviewBitmap;
    // "t" is compared with the most advanced output stream instead of the least advanced.
    bool LimitByLongestStream = false;

protected:
    // The first step of a run's body, on the run's thread: a derived job makes its inputs ready
    // for the run. What it raises fails the run like a failed set-up.
    virtual void PrepareInputs() {}

    // options/PresetOptions.cpp: presets and target presets ("apre", "vpre", "spre", "fpre",
    // "target").
    void ApplyPresetOption(const std::string& name, const std::string& value);
    void ApplyTargetOption(const std::string& value);
    // outputs/OutputStreams.cpp: "newvideo", "newaudio", "newsubtitle": one more stream on the
    // last output file.
    void AddNewStreamOption(const std::string& name, AVMediaType kind);

    // The job's settings, in their groups (Job.h).
    TFileTables FFiles;
    TPendingVideo FVideo;
    TPendingAudio FAudio;
    TPendingSubtitle FSubtitle;
    TRunSettings FRun;
    TGenericOptions FOptions;
    TBitstreamFilterChains FBitstreamFilters;
    TFrameHookList FVideoHooks;
    TRunState FState;
    int FPreviewFlags = 0;  // only under the preview lock (video/PreviewLock.h)
    std::atomic<bool> FStopRequested{false};
    // What the interrupt callback of every input checks: this job's, or those of the job an
    // input opened here will move to (the libraries keep the pointer with the open input).
    TInterruptSources FInterrupt{&FStopRequested, nullptr};
    TInterruptSources* FInputInterrupt = &FInterrupt;
    std::string FLastError;
    std::string FLogLabel;  // the first input's file name: names the run's log lines
    // The output files and their entries (outputs/OutputFiles.h).
    TOutputTables FOutputs;
    // What the video and subtitle output paths keep across runs (video/VideoPathState.h).
    std::unique_ptr<TVideoPathState> FVideoPath;
    // The run's tables (run/RunTables.h): they exist while a run is set up and running, and the
    // run reaches them through this member only.
    std::unique_ptr<TRunTables> FRunTables;
    TRunStatistics FStatistics;

private:
    friend class TOptionTable;

    // --- CustomFFmpeg.cpp ---
    void RestoreDefaults();
    void CreateOptionContexts();
    void ReleaseInputFiles();
    TPrivateOptionOwners PrivateOptionOwners() const;

    // --- options/TypedSetters.cpp: shared by the options and the typed setters ---
    void ApplyCodecName(AVMediaType kind, const std::string& name);
    void ApplyCodecTag(AVMediaType kind, const std::string& tag);
    void ApplyVerticalCrop(int& band, int value);
    void ApplyHorizontalCrop(int& band, int value);
    void ApplyRecordingTime(int64_t microseconds);
    void AddVideoHook(const std::string& value);
    void SetVstatsFileFromClock();

    // --- inputs/Inputs.cpp: the steps of AddInputFile ---
    using TNamedDecoders = std::array<const AVCodec*, kMediaKindCount>;
    bool FailInput(const std::string& message);
    void ClearPendingInputSettings();
    bool FindInputDecoder(AVMediaType kind, const std::string& name, const AVCodec*& decoder);
    // The decoder context of one input stream; takes the stream's facts into the pending
    // settings and gives the stream's entry of the input codec table.
    CodecContextPtr TakeInputStream(AVStream& stream, int index, const TNamedDecoders& named,
                                    const AVCodec*& tableEntry);

    // --- outputs/Outputs.cpp: the steps of AddOutputFile ---
    int FailOutput(const std::string& message);
    bool CheckOutputFilters();
    int OpenOutput(std::unique_ptr<TOutputFile> owned, const std::string& fileName, bool join);
    int CreateDefaultStreams(TOutputFile& file, bool join);
    int ReadServerFeedStreams(TOutputFile& file);
    void SetOutputMetadata(AVFormatContext& context);
    void SetMuxerOptions(TOutputFile& file);
    void StartJoin(int entry);

    // --- outputs/OutputStreams.cpp: the stream creators ("newvideo", "newaudio", ...) ---
    void NewVideoStream(TOutputFile& file);
    void NewAudioStream(TOutputFile& file);
    void NewSubtitleStream(TOutputFile& file);
    std::unique_ptr<TOutputStream> NewStreamRecord(AVMediaType kind, const AVCodec* encoder);
    void AttachStream(TOutputFile& file, std::unique_ptr<TOutputStream> stream, std::string& language);
    void ApplyVideoEncoding(TOutputStream& stream);
    void ApplyAudioEncoding(TOutputStream& stream);
    void RecordOutputCodec(const AVCodec* encoder);

    // --- outputs/WritePacket.cpp ---
    void PrepareBitstreamFilters(TOutputStream& stream);
    void FilterAndWrite(TOutputFile& file, TOutputStream& stream, std::size_t filter, AVPacket* packet);
    void WriteInterleaved(TOutputFile& file, TOutputStream& stream, AVPacket* packet);
    void ReportBitstreamFilterError(const TBitstreamFilter& filter, const TOutputStream& stream, int error);

    // --- outputs/OutputHeaders.cpp: the last set-up steps before the loop ---
    void ResetInputTimes();
    std::string ApplyMetaDataMaps();
    int DistinctOutputCount() const;
    void WriteHeaders();
    void LogSessionDescription();
    void LogStreamMapping();

    // --- outputs/JobRelease.cpp ---
    void ReleaseOutputFiles();

    // --- run/RunControl.cpp ---
    void FailRun(const std::string& message);
    void GiveTerminateNotice();
    // Parks a paused worker; false once a stop was requested.
    bool KeepRunning();
    void PassSuspendGate();
    // Stops a running job and joins every thread of the job (the destructor's first step).
    void EndThreads();

    // --- run/StreamMapping.cpp: the first steps of a run ---
    void BuildInputTables();
    void BuildOutputTables();
    void ChooseSources();
    int FindProgramSource(AVMediaType kind, int onlyFile) const;
    int FindUnusedSource(AVMediaType kind, int onlyFile, bool allowUsed) const;
    bool OwnsOutputStream(int outputIndex) const;
    void PrepareOutputStreams();
    void CopyStreamFacts(OutputStreamState& ost, const InputStreamState& ist);
    void PrepareStreamCopy(OutputStreamState& ost, const InputStreamState& ist);
    void PrepareAudioEncoding(OutputStreamState& ost, InputStreamState& ist);
    void PrepareVideoEncoding(OutputStreamState& ost, InputStreamState& ist);
    void OpenTwoPassLog(OutputStreamState& ost, int outputIndex);

    // --- run/CodecOpening.cpp ---
    // The open steps give the failure text (empty on success): it is raised after the
    // stream mapping has been logged.
    std::string OpenEncoders();
    std::string OpenDecoders();
    void ReopenEncoders();
    void CloseOpenCodecs();
    // The record that holds the encoder state of the stream (join mode: the first segment's).
    OutputStreamState& EncoderOwner(OutputStreamState& ost);

    // --- run/Transcode.cpp: set-up, loop and tear-down ---
    void Transcode();
    void SetUpRun();
    void CheckSomethingWasEncoded();
    void RunLoop();
    void ClearNoPacketFlags();
    double OutputTime(const OutputStreamState& ost) const;
    bool FrameLimitReached(const OutputStreamState& ost) const;
    int ChooseInput(TOutputTimes& times) const;
    int ChooseJoinInput(TOutputTimes& times) const;
    bool SizeLimitReached() const;
    void HandlePacket(int fileIndex, AVPacket& packet);
    void CorrectTimestamps(InputStreamState& ist, AVPacket& packet);
    bool ContinueAfterInputEnd(int fileIndex);
    void CarryStreamsForward();
    void FlushRemainingInputs();
    void WriteTrailers();

    // --- run/OutputPacket.cpp: where the loop hands packets and decoded frames ---
    // Decodes one packet (or, with none, drains the stream) and hands the result to every
    // output stream the input stream feeds; 0, or -1 on a decoding error.
    int OutputPacket(InputStreamState& ist, AVPacket* packet);
    int InputStreamIndex(const InputStreamState& ist) const;
    void CopyToOutputs(InputStreamState& ist, AVPacket& packet);
    int DecodePacket(InputStreamState& ist, AVPacket* packet);
    int DecodeFrames(InputStreamState& ist, AVPacket* packet);
    int DecodeSubtitle(InputStreamState& ist, AVPacket* packet);
    void TakeFrameTimes(InputStreamState& ist, const AVFrame& frame);
    void HandDecodedFrame(InputStreamState& ist, AVFrame& frame);
    void PaceRealTimeInput(const InputStreamState& ist);
    void FlushEncoders(InputStreamState& ist);

    // --- run/StreamCopy.cpp ---
    // `lastUse`: nothing reads the packet after this copy, which may take its data over.
    void StreamCopyPacket(OutputStreamState& ost, const InputStreamState& ist, AVPacket& packet,
                          bool lastUse);

    // --- run/EncodedPackets.cpp ---
    // Sends a frame (null: the end of the stream) to the stream's encoder and writes what comes
    // out; the bytes written. Raises "Video encoding failed" / "Audio encoding failed".
    int WriteEncodedPackets(OutputStreamState& ost, const AVFrame* frame);
    // Writes one packet of the stream (stream time base), keeping its decoding times growing.
    void WriteOutputPacket(OutputStreamState& ost, AVPacket& packet);

    // --- run/Progress.cpp ---
    void PrintReport(bool lastReport, int inputIndex);
    int64_t ReportedOutputSize() const;

    // --- video/PreProcessVideo.cpp ---
    void PreProcessVideo(InputStreamState& ist, AVFrame& picture);

    // --- video/CustomHook.cpp: the host's picture hook, on the job's own copy of the picture ---
    void RunCustomHook(const InputStreamState& ist, AVFrame& work);
    bool CopyBitmapBack(AVFrame& work);
    void RemoveCustomHook();

    // --- video/PreviewHandOff.cpp: encoded pictures to the preview bitmap or window ---
    void HandPictureToPreview(const AVFrame& picture, int64_t pts);
    // Sets or clears preview flag bits under the preview lock.
    void ChangePreviewFlags(int flags, bool on);

    // --- video/VideoOut.cpp: the video output path ---
    // The size of the encoded frame (0 when none).
    int DoVideoOut(TOutputFile& file, OutputStreamState& ost, InputStreamState& ist, AVFrame& picture);
    int VideoOutAt(OutputStreamState& ost, InputStreamState& ist, AVFrame& picture, int64_t inputTime);
    int FramesToWrite(OutputStreamState& ost, int64_t inputTime);
    // The gap in encoder frames, 0 when it was a jump the frame clock now follows.
    double FollowTimestampJump(OutputStreamState& ost, double delta, double frameSeconds);
    AVFrame* PrepareVideoPicture(OutputStreamState& ost, InputStreamState& ist, AVFrame& picture);
    void FollowPictureSize(OutputStreamState& ost, const InputStreamState& ist, const AVFrame& picture);
    // Logs a new decoded size; raises when the stream cannot scale pictures.
    void AcceptPictureSizeChange(const OutputStreamState& ost, const InputStreamState& ist,
                                 const AVFrame& picture);
    AVFrame* FailCropOrPad(const char* message);
    int EncodeVideoFrames(OutputStreamState& ost, const InputStreamState& ist, const AVFrame& decoded,
                          AVFrame& picture, int frames);

    // --- video/VideoFilters.cpp ---
    // 0, or -1 with LastError() possibly set.
    int ConfigureFilters(InputStreamState& ist, OutputStreamState& ost);
    // The chain for source pictures of that size and format; a rebuilt chain must give the
    // size the encoder was opened with.
    int BuildFilterGraph(InputStreamState& ist, OutputStreamState& ost, int width, int height, int format,
                         bool rebuild);
    void FollowFilteredPictureSize(OutputStreamState& ost, InputStreamState& ist, const AVFrame& picture);
    int FilterVideoOut(OutputStreamState& ost, InputStreamState& ist, AVFrame& picture);
    int DrainVideoFilters(OutputStreamState& ost, InputStreamState& ist);
    void FlushVideoOut(OutputStreamState& ost, InputStreamState& ist);

    // --- video/SubtitleOut.cpp ---
    void DoSubtitleOut(TOutputFile& file, OutputStreamState& ost, InputStreamState& ist, AVSubtitle& subtitle,
                       int64_t pts);

    // --- audio/AudioOut.cpp: the audio output path ---
    void DoAudioOut(TOutputFile& file, OutputStreamState& ost, InputStreamState& ist, AVFrame& samples);
    void EncodeAudioFifo(OutputStreamState& ost, bool finalFrame);
    AVFrame& EncoderFrame(OutputStreamState& ost, int samples);
    AVFrame& ConvertedSamples(OutputStreamState& ost, int samples);
    void DrainResampler(OutputStreamState& ost);
    void FollowSoundChange(OutputStreamState& ost, const InputStreamState& ist, const AVFrame& samples);
    // The end of an audio stream: the converter and the fifo emptied, the encoder drained.
    void FlushAudioOut(OutputStreamState& ost);

    // The threads of the job, joined in EndThreads before any other member goes.
    std::unique_ptr<TConvertThread> FWorker;
    std::atomic<TConvertThread*> FLiveWorker{nullptr};
    std::vector<std::unique_ptr<TWaitThread>> FWaitThreads;
    // Gives the notice of a job that never started.
    std::unique_ptr<TDoTerminateThread> FNoticeThread;
};

}  // namespace kestrova
