#pragma once
// The option records through which a host describes a task's input and output: plain fields
// standing for the job's options (a default means "not set"), plus free option text of
// name=value lines, and the order in which a record is applied to a job.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kestrova {

class TCustomFFmpeg;

// The "no time" value of the 64-bit microsecond fields.
inline constexpr int64_t kNoHostTime = INT64_MIN;

// File-level metadata written into the output.
struct TStreamInfo {
    double Timestamp = -1;  // local date-time, days since 30 December 1899; 0 = now; < 0 = unset
    int32_t Year = -1;
    int32_t Track = -1;
    std::string Title, Author, Copyright, Comment, Album, Genre;
};

struct TInputOptions {
    std::string FileName;             // written by the front when empty
    std::string FileFormat;           // "f"
    int64_t StartTime = kNoHostTime;  // "ss", microseconds
    int32_t ProgramID = -1;           // "programid"
    std::string ExtOptions;           // further name=value lines
};

struct TOutputOptions {
    std::string FileName;
    std::string FileFormat;
    int32_t PacketSize = -1;
    int32_t MuxRate = -1;
    float MuxDelay = -1;    // seconds
    float MuxPreload = -1;  // seconds
    std::string AudioCodec;
    std::string AudioPreset;
    bool DisableAudio = false;
    int32_t Volume = -1;  // 256 = unchanged
    int32_t AudioChannels = -1;
    int32_t AudioSampleRate = -1;
    int32_t AudioBitrate = -1;  // bit/s
    int32_t AudioBitrateTolerance = -1;
    std::string AudioLanguage;
    int32_t AudioSync = 0;
    std::string AudioTag;
    std::string VideoCodec;
    std::string VideoPreset;
    bool DisableVideo = false;
    std::string FrameRate;
    std::string FrameSize;
    std::string AspectRatio;
    int32_t CropTop = -1, CropBottom = -1, CropLeft = -1, CropRight = -1;
    int32_t PadTop = -1, PadBottom = -1, PadLeft = -1, PadRight = -1;
    uint32_t PadColor = 0;  // red in bits 0-7, green 8-15, blue 16-23
    int32_t GopSize = -1;
    int32_t VideoBitrate = -1;  // bit/s
    int32_t MaxRate = -1;
    int32_t MinRate = -1;
    int32_t VideoBitrateTolerance = -1;
    int32_t BufSize = -1;
    int32_t VideoSync = -1;
    std::string VideoTag;
    std::string VideoFilters;
    std::string VideoLanguage;
    std::string SubtitleCodec;
    std::string SubtitlePreset;
    bool DisableSubtitle = false;
    std::string SubtitleLanguage;
    bool CopyTimestamps = false;
    int64_t StartTime = kNoHostTime;  // microseconds
    int64_t Duration = kNoHostTime;   // microseconds; also the expected duration for progress
    TStreamInfo Metadata;
    int32_t Target = 0;             // 0 none, 1 "vcd", 2 "svcd", 3 "dvd"
    int32_t TargetNorm = 0;         // 0 "auto", 1 "pal", 2 "ntsc"
    int32_t TargetDefaultNorm = 1;  // 1 "pal", other "ntsc"
    bool CustomHook = false;        // read by the engine front, not an option of the job
    bool Join = false;              // read by the engine front, not an option of the job
    bool LimitByLongestStream = false;
    std::string ExtOptions;
};

// Restore a record to its defaults.
void InitInputOptions(TInputOptions& options);
void InitOutputOptions(TOutputOptions& options);

// The (name, value) lines of option text: trimmed, line breaks and "<CRLF>" as separators, each
// line split at its first "=" (names and values are kept as written; empty lines are skipped).
std::vector<std::pair<std::string, std::string>> SplitOptionText(const std::string& text);

// The pass an option name belongs to: 0 adds streams to the last output, 1 applies presets,
// 2 everything else.
int OptionPass(const std::string& name);

// Applies the lines of `text` that belong to `pass`. Raises FFmpegException on a bad option.
void ApplyOptionText(TCustomFFmpeg& job, const std::string& text, int pass);

// Applies an input record before the job adds that input; an empty FileName takes `fileName`.
void ApplyInputOptions(TCustomFFmpeg& job, TInputOptions& options, const std::string& fileName);

// Applies an output record before the job adds that output (target, option text, fields,
// presets); an empty FileName takes `fileName`.
void ApplyOutputOptions(TCustomFFmpeg& job, TOutputOptions& options, const std::string& fileName);
// After the job added the output: the option text's stream-adding lines.
void ApplyOutputOptionsAfterAdd(TCustomFFmpeg& job, const TOutputOptions& options);

// Unix seconds for a local date-time in days since 30 December 1899, with the standard time
// zone offset (`biasMinutes`: UTC = local + bias; daylight saving not applied).
int64_t UnixTimeFromLocalDays(double days, int biasMinutes);

}  // namespace kestrova
