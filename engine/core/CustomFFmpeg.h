#pragma once
// TCustomFFmpeg: one conversion job. Options arrive as (name, value) pairs and are applied at
// once; input and output files are added one at a time, each taking the settings current when
// it is added.
#include "GenericOptions.h"
#include "Job.h"
#include "OutputFiles.h"
#include "Presets.h"
#include "RunEvents.h"
#include "RunTables.h"
#include "TargetPresets.h"
#include "VideoPathState.h"
#include "frame/ConvertThreads.h"
#include "frame/FrameHook.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace kestrova {

// Which media kinds the inputs hold (see TCustomFFmpeg::InputKinds).
struct TInputKinds {
    bool HasVideo = false;
    bool HasAudio = false;
    bool HasSubtitle = false;
};

// The job applies presets and target presets to itself (Presets.h, TargetPresets.h).
class TCustomFFmpeg : public PresetTarget, public TargetPresetTarget {
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
    int NbOutputFiles() const { return FFiles.NbOutputFiles; }

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
    // Pause and resume of a threaded run: the worker parks at its next packet or event.
    void SuspendConvert();
    void ResumeConvert();
    // The live worker of a threaded run; null before the run and once its notice was given.
    TConvertThread* WorkerThread() const { return FLiveWorker.load(); }
    void SetProgressInterval(int64_t microseconds) { FState.ProgressInterval = microseconds; }
    const TRunStatistics& Statistics() const { return FStatistics; }

    // Installed by the front before the run starts.
    TProgressCallback OnProgress;
    TTerminateCallback OnTerminate;
    // "t" is compared with the most advanced output stream instead of the least advanced.
    bool LimitByLongestStream = false;

protected:
    // Presets and target presets ("apre", "vpre", "spre", "fpre", "target").
    void ApplyPresetOption(const std::string& name, const std::string& value);
    void ApplyTargetOption(const std::string& value);
    // "newvideo", "newaudio", "newsubtitle": one more stream on the last output file.
    void AddNewStreamOption(const std::string& name, AVMediaType kind);

    TFileTables FFiles;
    TPendingVideo FVideo;
    TPendingAudio FAudio;
    TPendingSubtitle FSubtitle;
    TRunSettings FRun;
    TGenericOptions FOptions;
    TBitstreamFilterChains FBitstreamFilters;
    TFrameHookList FVideoHooks;
    TRunState FState;
    std::atomic<bool> FStopRequested{false};
    std::string FLastError;
    TOutputTables FOutputs;
    TVideoPathState FVideoPath;

    // --- Run: where the loop hands packets and decoded frames ----------------------------
    // Decodes one packet (or, with none, drains the stream) and hands the result to every
    // output stream the input stream feeds; 0, or -1 on a decoding error.
    int OutputPacket(InputStreamState& ist, AVPacket* packet);
    void PreProcessVideo(InputStreamState& ist, AVFrame& picture);
    // 0, or -1 with LastError() possibly set.
    int ConfigureFilters(InputStreamState& ist, OutputStreamState& ost);
    // The size of the encoded frame (0 when none).
    int DoVideoOut(TOutputFile& file, OutputStreamState& ost, InputStreamState& ist, AVFrame& picture);
    void DoAudioOut(TOutputFile& file, OutputStreamState& ost, InputStreamState& ist, AVFrame& samples);
    void DoSubtitleOut(TOutputFile& file, OutputStreamState& ost, InputStreamState& ist,
                       AVSubtitle& subtitle, int64_t pts);
    // Steps of the video path (VideoOut.cpp, VideoFilters.cpp).
    int VideoOutAt(OutputStreamState& ost, InputStreamState& ist, AVFrame& picture, int64_t inputTime);
    int FilterVideoOut(OutputStreamState& ost, InputStreamState& ist, AVFrame& picture);
    int DrainVideoFilters(OutputStreamState& ost, InputStreamState& ist);
    void FlushVideoOut(OutputStreamState& ost, InputStreamState& ist);
    int FramesToWrite(OutputStreamState& ost, int64_t inputTime);
    AVFrame* PrepareVideoPicture(OutputStreamState& ost, InputStreamState& ist, AVFrame& picture);
    void FollowPictureSize(OutputStreamState& ost, const InputStreamState& ist, const AVFrame& picture);
    AVFrame* FailCropOrPad(const char* message);
    int EncodeVideoFrames(OutputStreamState& ost, const InputStreamState& ist, const AVFrame& decoded,
                          AVFrame& picture, int frames);
    void PrintReport(bool lastReport, int inputIndex);
    int64_t ReportedOutputSize() const;
    // Sends a frame (null: the end of the stream) to the stream's encoder and writes what comes
    // out; the bytes written. Raises "Video encoding failed" / "Audio encoding failed".
    int WriteEncodedPackets(OutputStreamState& ost, const AVFrame* frame);
    // Writes one packet of the stream (stream time base), keeping its decoding times growing.
    void WriteOutputPacket(OutputStreamState& ost, AVPacket& packet);
    void EncodeAudioFifo(OutputStreamState& ost, bool finalFrame);
    AVFrame& EncoderFrame(OutputStreamState& ost, int samples);
    AVFrame& ConvertedSamples(OutputStreamState& ost, int samples);
    void AppendSilence(OutputStreamState& ost, int count);
    // The end of an audio stream: the converter and the fifo emptied, the encoder drained.
    void FlushAudioOut(OutputStreamState& ost);
    // The record that holds the encoder state of the stream (join mode: the first segment's).
    OutputStreamState& EncoderOwner(TRunTables& run, OutputStreamState& ost);

    std::unique_ptr<TRunTables> FRunTables;  // exists while a run is set up and running
    TRunStatistics FStatistics;

private:
    friend class TOptionTable;

    void RestoreDefaults();
    void CreateOptionContexts();
    void ReleaseOutputFiles();

    // Steps of AddOutputFile and the stream creators ("newvideo", "newaudio", "newsubtitle").
    int FailOutput(const std::string& message);
    bool CheckOutputFilters();
    int OpenOutput(std::unique_ptr<TOutputFile> owned, const std::string& fileName, bool join);
    int CreateDefaultStreams(TOutputFile& file, bool join);
    int ReadServerFeedStreams(TOutputFile& file);
    void SetOutputMetadata(AVFormatContext& context);
    void SetMuxerOptions(TOutputFile& file);
    void StartJoin(int entry);
    void NewVideoStream(TOutputFile& file);
    void NewAudioStream(TOutputFile& file);
    void NewSubtitleStream(TOutputFile& file);
    std::unique_ptr<TOutputStream> NewStreamRecord(AVMediaType kind, const AVCodec* encoder);
    void AttachStream(TOutputFile& file, std::unique_ptr<TOutputStream> stream,
                      std::string& language);
    void ApplyVideoEncoding(TOutputStream& stream);
    void ApplyAudioEncoding(TOutputStream& stream);
    void RecordOutputCodec(const AVCodec* encoder);
    void PrepareBitstreamFilters(TOutputStream& stream);
    void FilterAndWrite(TOutputFile& file, TOutputStream& stream, std::size_t filter,
                        AVPacket* packet);
    void WriteInterleaved(TOutputFile& file, TOutputStream& stream, AVPacket* packet);
    void ReportBitstreamFilterError(const TBitstreamFilter& filter, const TOutputStream& stream,
                                    int error);
    void ReleaseInputFiles();
    TPrivateOptionOwners PrivateOptionOwners() const;

    // Shared by the options and the typed setters.
    void ApplyCodecName(AVMediaType kind, const std::string& name);
    void ApplyCodecTag(AVMediaType kind, const std::string& tag);
    void ApplyVerticalCrop(int& band, int value);
    void ApplyHorizontalCrop(int& band, int value);
    void ApplyRecordingTime(int64_t microseconds);
    void AddVideoHook(const std::string& value);
    void SetVstatsFileFromClock();
    void ClearPendingInputSettings();

    // Steps of AddInputFile.
    using TNamedDecoders = std::array<const AVCodec*, kMediaKindCount>;
    bool FailInput(const std::string& message);
    bool FindInputDecoder(AVMediaType kind, const std::string& name, const AVCodec*& decoder);
    // The decoder context of one input stream; takes the stream's facts into the pending
    // settings and gives the stream's entry of the input codec table.
    CodecContextPtr TakeInputStream(AVStream& stream, int index, const TNamedDecoders& named,
                                    const AVCodec*& tableEntry);

    // --- Run: set-up, loop and tear-down -------------------------------------------------
    void Transcode();
    void SetUpRun(TRunTables& run);
    void BuildInputTables(TRunTables& run);
    void BuildOutputTables(TRunTables& run);
    void ChooseSources(TRunTables& run);
    int FindProgramSource(const TRunTables& run, AVMediaType kind, int onlyFile) const;
    int FindUnusedSource(const TRunTables& run, AVMediaType kind, int onlyFile, bool allowUsed) const;
    bool OwnsOutputStream(const TRunTables& run, int outputIndex) const;
    void PrepareOutputStreams(TRunTables& run);
    void CopyStreamFacts(OutputStreamState& ost, const InputStreamState& ist);
    void PrepareStreamCopy(OutputStreamState& ost, const InputStreamState& ist);
    void PrepareAudioEncoding(OutputStreamState& ost, InputStreamState& ist);
    void PrepareVideoEncoding(OutputStreamState& ost, InputStreamState& ist);
    void OpenTwoPassLog(OutputStreamState& ost, int outputIndex);
    // The open steps give the failure text (empty on success): it is raised after the
    // stream mapping has been logged.
    std::string OpenEncoders(TRunTables& run);
    std::string OpenDecoders(TRunTables& run);
    void ReopenEncoders(TRunTables& run);
    void CloseOpenCodecs();
    void ResetInputTimes(TRunTables& run);
    std::string ApplyMetaDataMaps();
    int DistinctOutputCount() const;
    void WriteHeaders(TRunTables& run);
    void LogSessionDescription();
    void LogStreamMapping(const TRunTables& run);
    void RunLoop(TRunTables& run);
    void ClearNoPacketFlags(TRunTables& run);
    double OutputTime(const OutputStreamState& ost) const;
    bool FrameLimitReached(const OutputStreamState& ost) const;
    int ChooseInput(TRunTables& run, TOutputTimes& times) const;
    int ChooseJoinInput(TRunTables& run, TOutputTimes& times) const;
    bool SizeLimitReached() const;
    void HandlePacket(TRunTables& run, int fileIndex, AVPacket& packet);
    void CorrectTimestamps(InputStreamState& ist, AVPacket& packet);
    bool ContinueAfterInputEnd(TRunTables& run, int fileIndex);
    void CarryStreamsForward(TRunTables& run);
    void FlushRemainingInputs(TRunTables& run);
    void WriteTrailers(TRunTables& run);
    int InputStreamIndex(const InputStreamState& ist) const;
    void CopyToOutputs(InputStreamState& ist, AVPacket& packet);
    // `lastUse`: nothing reads the packet after this copy, which may take its data over.
    void StreamCopyPacket(OutputStreamState& ost, const InputStreamState& ist, AVPacket& packet, bool lastUse);
    int DecodePacket(InputStreamState& ist, AVPacket* packet);
    int DecodeFrames(InputStreamState& ist, AVPacket* packet);
    int DecodeSubtitle(InputStreamState& ist, AVPacket* packet);
    void TakeFrameTimes(InputStreamState& ist, const AVFrame& frame);
    void HandDecodedFrame(InputStreamState& ist, AVFrame& frame);
    void PaceRealTimeInput(const InputStreamState& ist);
    void FlushEncoders(InputStreamState& ist);
    void FailRun(const std::string& message);
    void GiveTerminateNotice();

    // Parks a paused worker; false once a stop was requested.
    bool KeepRunning();
    void PassSuspendGate();
    // Stops a running job and joins every thread of the job (the destructor's first step).
    void EndThreads();

    // The threads of the job, joined in EndThreads before any other member goes.
    std::unique_ptr<TConvertThread> FWorker;
    std::atomic<TConvertThread*> FLiveWorker{nullptr};
    std::vector<std::unique_ptr<TWaitThread>> FWaitThreads;
    // Gives the notice of a job that never started.
    std::unique_ptr<TDoTerminateThread> FNoticeThread;
};

} // namespace kestrova
