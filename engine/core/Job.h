#pragma once
// The record of one conversion job, in its groups. Pending settings are consumed by the next
// input file or output stream; run settings apply to the whole job.
#include "engine/core/options/Matrices.h"
#include "engine/core/options/PadColour.h"
#include "engine/core/options/VideoHookPeriods.h"
#include "engine/core/outputs/BitstreamFilters.h"
#include "engine/frame/LibPtr.h"
#include "engine/frame/UnicodeProtocol.h"

#include <array>
#include <atomic>
#include <climits>
#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kestrova {

inline constexpr int kMaxFiles = 20;    // input files, and output files
inline constexpr int kMaxStreams = 20;  // streams per file
inline constexpr int kMaxStreamMaps = 400;
inline constexpr int kMaxCodecEntries = kMaxFiles * kMaxStreams;
// The most negative 64-bit value: a time that is not set.
inline constexpr int64_t kNoTimeValue = INT64_MIN;
// The time base of the engine's own times.
inline constexpr AVRational kMicroseconds{1, 1000000};

struct TStreamMap {
    int FileIndex = 0;
    int StreamIndex = 0;
    int SyncFileIndex = 0;
    int SyncStreamIndex = 0;
};

struct TMetaDataMap {
    int OutFile = 0;
    int InFile = 0;
};

// Files and fixed-capacity tables (the output files are in TOutputTables, outputs/OutputFiles.h).
struct TFileTables {
    std::array<InputFilePtr, kMaxFiles> InputFiles;
    int NbInputFiles = 0;
    // [input file][stream]: a decoder context per input stream, filled from the stream's
    // parameters when the file is added and opened when the streams are mapped.
    std::array<std::vector<CodecContextPtr>, kMaxFiles> InputStreamContexts;
    std::array<int64_t, kMaxFiles> InputFilesTsOffset{};
    // [input file][stream]; 0 means no scaling.
    std::array<std::array<double, kMaxStreams>, kMaxFiles> InputFilesTsScale{};

    std::array<const AVCodec*, kMaxCodecEntries> InputCodecs{};
    int NbInputCodecs = 0;
    std::array<const AVCodec*, kMaxCodecEntries> OutputCodecs{};
    int NbOutputCodecs = 0;

    std::array<TStreamMap, kMaxStreamMaps> StreamMaps{};
    int NbStreamMaps = 0;
    std::array<TMetaDataMap, kMaxFiles> MetaDataMaps{};
    int NbMetaDataMaps = 0;

    std::string FileFormat;  // pending container format name; empty when unset
};

// Pending video settings.
struct TPendingVideo {
    int FrameWidth = 0;  // 0 = unset
    int FrameHeight = 0;
    float FrameAspectRatio = 0;
    int PixelFormat = AV_PIX_FMT_NONE;
    int PadTop = 0, PadBottom = 0, PadLeft = 0, PadRight = 0;
    TYuvColour PadColor{16, 128, 128};
    int CropTop = 0, CropBottom = 0, CropLeft = 0, CropRight = 0;
    AVRational FrameRate{0, 0};  // 0/0 = unset
    float QScale = 0;            // 0 = unset
    std::optional<TQuantMatrix> IntraMatrix;
    std::optional<TQuantMatrix> InterMatrix;
    std::string RcOverride;
    std::string CodecName;  // empty = none
    bool StreamCopy = false;
    bool Disable = false;
    int Discard = 0;
    uint32_t CodecTag = 0;
    std::string Language;
    bool SameQuality = false;
    bool Deinterlace = false;
    int TopFieldFirst = -1;  // -1 = auto
    int MeThreshold = 0;
    int IntraDcPrecision = 8;
    bool IntraOnly = false;
    int Pass = 0;  // 0, 1 or 2
    std::string PassLogFile;
    bool Psnr = false;
    int GlobalHeader = 0;
    int Channel = 0;
    std::string TvStandard;
    bool ForceFps = false;
    std::string Filters;  // "vfilters"
};

// Pending audio settings.
struct TPendingAudio {
    int SampleRate = 44100;
    int Channels = 2;
    int64_t ChannelLayout = 0;
    int SampleFormat = AV_SAMPLE_FMT_NONE;
    float QScale = -99999;  // -99999 = none
    std::string CodecName;
    bool StreamCopy = false;
    bool Disable = false;
    uint32_t CodecTag = 0;
    std::string Language;
    int Volume = 256;  // 256 = unchanged
};

// Pending subtitle settings.
struct TPendingSubtitle {
    std::string CodecName;
    bool StreamCopy = false;
    bool Disable = false;
    uint32_t CodecTag = 0;
    std::string Language;
};

// Indexes of TRunSettings::MaxFrames.
enum TFrameKind : int { fkVideo = 0, fkAudio = 1, fkData = 2, fkSubtitle = 3 };

// Settings of the whole job.
struct TRunSettings {
    std::array<int, 4> MaxFrames{INT_MAX, INT_MAX, INT_MAX, INT_MAX};
    int64_t RecordingTime = INT64_MAX;
    double RecordingTimeSeconds = static_cast<double>(INT64_MAX) / 1000000;
    int64_t StartTime = 0;
    int64_t RecordingTimestamp = 0;  // seconds
    int64_t InputTsOffset = 0;       // for the next input file
    int64_t LimitFileSize = 0;       // bytes; 0 = none
    std::vector<std::pair<std::string, std::string>> Metadata;
    bool PacketDump = false;
    bool HexDump = false;
    bool RateEmu = false;  // "re"
    bool LoopInput = false;
    int LoopOutput = -1;
    int VideoSyncMethod = -1;  // -1 = automatic
    int AudioSyncMethod = 0;
    float AudioDriftThreshold = 0.1f;  // seconds
    float DtsDeltaThreshold = 10;      // seconds
    bool CopyTs = false;
    bool Shortest = false;
    int ProgramId = 0;  // 0 = all
    bool ExitOnError = false;
    int CopyInitialNonKeyFrames = 0;
    bool InputSync = false;
    float MuxPreload = 0.5f;   // seconds
    float MuxMaxDelay = 0.7f;  // seconds
    int Verbose = 1;
    int ThreadCount = 1;
    bool ThreadCountChosen = false;  // "threads" was given: its count wins over a share of the cores
    int ScalerFlags = SWS_BICUBIC;
    std::string VstatsFileName;
    bool QpHist = false;
    int BitBufferSize = 262144;
    std::vector<uint8_t> BitBuffer;
    bool PgmYuv = false;                 // the next input's video decoder is the PGMYUV decoder
    TVideoHookPeriods VideoHookPeriods;  // "vhookperiods": when the video hooks run
};

// The three bitstream filter chains; each is handed to the next output stream of its kind.
struct TBitstreamFilterChains {
    TBitstreamFilterChain Video;
    TBitstreamFilterChain Audio;
    TBitstreamFilterChain Subtitle;
};

// A value of the run state that one thread writes while another reads it (the worker and the
// front, a stopping host, a preview switch): every access is atomic, and the record stays
// copyable so that a reset can assign a fresh one.
template <class T>
class TSharedRunValue {
public:
    TSharedRunValue(T value = T()) : FValue(value) {}
    TSharedRunValue(const TSharedRunValue& other) : FValue(other.FValue.load()) {}
    TSharedRunValue& operator=(const TSharedRunValue& other) {
        FValue = other.FValue.load();
        return *this;
    }
    TSharedRunValue& operator=(T value) {
        FValue = value;
        return *this;
    }
    operator T() const { return FValue.load(); }
    TSharedRunValue& operator|=(T bits) requires std::integral<T> {
        FValue.fetch_or(bits);
        return *this;
    }
    TSharedRunValue& operator&=(T bits) requires std::integral<T> {
        FValue.fetch_and(bits);
        return *this;
    }

private:
    std::atomic<T> FValue;
};

// Run state and what the front reads back. The flags are read from other threads while the
// job runs; FailureText is written before Terminated is set, so another thread reads it once
// Terminated reads true.
struct TRunState {
    TSharedRunValue<bool> Running = false;
    TSharedRunValue<bool> FinishedNormally = false;
    TSharedRunValue<bool> Terminated = false;
    TSharedRunValue<bool> Failed = false;
    std::string FailureText;
    bool Join = false;
    int64_t TotalDuration = -1;  // microseconds; -1 = unknown
    int64_t ProgressInterval = 500000;
    int64_t PreviewInterval = 100000;  // microseconds of wall clock between two previews
    // Processor cores for the codecs the run opens, this job's share when it is launched
    // (run/CodecCoreShare.cpp; each codec's thread count follows from it); 0 keeps the count the
    // options gave.
    int CodecCores = 0;
    bool HooksInUse = false;
    bool UseFilters = false;  // a video filter chain was set when the output was added
};

// Counters of a run, read by the progress report.
struct TRunStatistics {
    int64_t VideoSize = 0;  // bytes of encoded or copied video
    int64_t AudioSize = 0;
    int64_t ExtraSize = 0;  // extra data (global headers) of the encoders
    int DupFrames = 0;
    int DropFrames = 0;
    int64_t StartTime = 0;  // wall clock when the loop started, microseconds
};

// The name of a media kind as the engine's messages spell it ("Video", "Audio", ...).
const char* MediaKindName(AVMediaType kind);

inline constexpr int kPreviewWindowFlag = 1;
inline constexpr int kPreviewBitmapFlag = 2;

}  // namespace kestrova
