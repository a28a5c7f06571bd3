// The job's typed setters, and the checks they share with the options of the same name.
#include "engine/core/CustomFFmpeg.h"

#include "engine/core/FFmpegException.h"
#include "engine/core/options/OptionValues.h"
#include "engine/core/options/PictureLimits.h"
#include "engine/core/options/TimeLimits.h"
#include "engine/core/options/VideoHookOption.h"
#include "engine/frame/ProgramLayout.h"

#include <cstdio>
#include <ctime>

namespace kestrova {

namespace {

constexpr char kVerticalCropMessage[] =
        "Vertical crop dimensions are outside the range of the original image.\n"
        "Remember to crop first and scale second.";
constexpr char kHorizontalCropMessage[] =
        "Horizontal crop dimensions are outside the range of the original image.\n"
        "Remember to crop first and scale second.";

// W:H with two integers (a height of 0 or less gives 0), or a decimal number.
double ParseAspect(const std::string& text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos) {
        double aspect = 0;
        return TryParseFloat(text, aspect) ? aspect : 0;
    }
    int64_t width = 0;
    int64_t height = 0;
    if (!TryParseInteger(text.substr(0, colon), width) || !TryParseInteger(text.substr(colon + 1), height) ||
        height <= 0)
        return 0;
    return static_cast<double>(width) / static_cast<double>(height);
}

// The messages of the options of the same name for a value beyond what they take.
[[noreturn]] void RaiseOutOfRange(const char* option, float seconds) {
    throw FFmpegException("Invalid floating-point value " + QuotedForMessage(std::to_string(seconds)) +
                          " for option \"" + option + "\"");
}
[[noreturn]] void RaiseDurationOutOfRange(const char* option, int64_t microseconds) {
    throw FFmpegException(std::string("Invalid duration specification for ") + option + ": " +
                          DurationText(microseconds));
}

}  // namespace

// --- Video -----------------------------------------------------------------------------------

void TCustomFFmpeg::SetFrameSize(const std::string& size) {
    if (size.empty()) return;
    int width = 0;
    int height = 0;
    if (ff::av_parse_video_size(&width, &height, size.c_str()) < 0 || width > kMaxPictureSide ||
        height > kMaxPictureSide)
        throw FFmpegException("Incorrect frame size");
    FVideo.FrameWidth = width;
    FVideo.FrameHeight = height;
}

void TCustomFFmpeg::SetFrameRate(const std::string& rate) {
    if (rate.empty()) return;
    AVRational parsed{0, 0};
    if (ff::av_parse_video_rate(&parsed, rate.c_str()) < 0) throw FFmpegException("Incorrect frame rate");
    FVideo.FrameRate = parsed;
}

void TCustomFFmpeg::SetAspectRatio(const std::string& aspect) {
    if (aspect.empty()) return;
    const double ratio = ParseAspect(aspect);
    // A negative ratio is as meaningless as 0: refuse it too.
    if (!(ratio > 0)) throw FFmpegException("Incorrect aspect ratio specification.");
    FVideo.FrameAspectRatio = static_cast<float>(ratio);
}

void TCustomFFmpeg::ApplyVerticalCrop(int& band, int value) {
    if (value < 0) return;
    if (value >= FVideo.FrameHeight) throw FFmpegException(kVerticalCropMessage);
    band = value;
    FVideo.FrameHeight -= value;
}

void TCustomFFmpeg::ApplyHorizontalCrop(int& band, int value) {
    if (value < 0) return;
    if (value >= FVideo.FrameWidth) throw FFmpegException(kHorizontalCropMessage);
    band = value;
    FVideo.FrameWidth -= value;
}

void TCustomFFmpeg::SetCropTop(int band) {
    ApplyVerticalCrop(FVideo.CropTop, band);
}
void TCustomFFmpeg::SetCropBottom(int band) {
    ApplyVerticalCrop(FVideo.CropBottom, band);
}
void TCustomFFmpeg::SetCropLeft(int band) {
    ApplyHorizontalCrop(FVideo.CropLeft, band);
}
void TCustomFFmpeg::SetCropRight(int band) {
    ApplyHorizontalCrop(FVideo.CropRight, band);
}

void TCustomFFmpeg::SetPadTop(int size) {
    if (size >= 0) FVideo.PadTop = size;
}
void TCustomFFmpeg::SetPadBottom(int size) {
    if (size >= 0) FVideo.PadBottom = size;
}
void TCustomFFmpeg::SetPadLeft(int size) {
    if (size >= 0) FVideo.PadLeft = size;
}
void TCustomFFmpeg::SetPadRight(int size) {
    if (size >= 0) FVideo.PadRight = size;
}

void TCustomFFmpeg::SetPadColor(uint32_t rgb) {
    FVideo.PadColor = RgbToPadYuv(rgb);
}

void TCustomFFmpeg::SetPixelFormat(const std::string& format) {
    if (format.empty()) return;
    const AVPixelFormat pixelFormat = ff::av_get_pix_fmt(format.c_str());
    if (pixelFormat == AV_PIX_FMT_NONE) throw FFmpegException("Unknown pixel format requested: " + format);
    FVideo.PixelFormat = pixelFormat;
}

// --- Audio -----------------------------------------------------------------------------------

void TCustomFFmpeg::SetSampleRate(int rate) {
    if (rate > 0) FAudio.SampleRate = rate;
}
void TCustomFFmpeg::SetChannels(int channels) {
    if (channels > 0) FAudio.Channels = channels;
}
void TCustomFFmpeg::SetVolume(int volume) {
    if (volume >= 0) FAudio.Volume = volume;
}

// --- Codecs, tags, languages, presets --------------------------------------------------------

void TCustomFFmpeg::ApplyCodecName(AVMediaType kind, const std::string& name) {
    std::string* codecName = nullptr;
    bool* streamCopy = nullptr;
    switch (kind) {
        case AVMEDIA_TYPE_VIDEO:
            codecName = &FVideo.CodecName;
            streamCopy = &FVideo.StreamCopy;
            break;
        case AVMEDIA_TYPE_AUDIO:
            codecName = &FAudio.CodecName;
            streamCopy = &FAudio.StreamCopy;
            break;
        case AVMEDIA_TYPE_SUBTITLE:
            codecName = &FSubtitle.CodecName;
            streamCopy = &FSubtitle.StreamCopy;
            break;
        default:
            return;
    }
    codecName->clear();
    if (name == "copy")
        *streamCopy = true;
    else
        *codecName = name;
}

void TCustomFFmpeg::ApplyCodecTag(AVMediaType kind, const std::string& tag) {
    const char* message = kind == AVMEDIA_TYPE_VIDEO   ? "video tag parameter must be 4 chars"
                          : kind == AVMEDIA_TYPE_AUDIO ? "audio tag parameter must be 4 chars"
                                                       : "subtitle tag parameter must be 4 chars";
    if (tag.size() != 4) throw FFmpegException(message);
    const auto byte = [&tag](int i) { return static_cast<uint32_t>(static_cast<uint8_t>(tag[i])); };
    const uint32_t packed = byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
    if (kind == AVMEDIA_TYPE_VIDEO)
        FVideo.CodecTag = packed;
    else if (kind == AVMEDIA_TYPE_AUDIO)
        FAudio.CodecTag = packed;
    else
        FSubtitle.CodecTag = packed;
}

void TCustomFFmpeg::SetVideoCodec(const std::string& name) {
    if (!name.empty()) ApplyCodecName(AVMEDIA_TYPE_VIDEO, name);
}
void TCustomFFmpeg::SetAudioCodec(const std::string& name) {
    if (!name.empty()) ApplyCodecName(AVMEDIA_TYPE_AUDIO, name);
}
void TCustomFFmpeg::SetSubtitleCodec(const std::string& name) {
    if (!name.empty()) ApplyCodecName(AVMEDIA_TYPE_SUBTITLE, name);
}
void TCustomFFmpeg::SetVideoTag(const std::string& tag) {
    if (!tag.empty()) ApplyCodecTag(AVMEDIA_TYPE_VIDEO, tag);
}
void TCustomFFmpeg::SetAudioTag(const std::string& tag) {
    if (!tag.empty()) ApplyCodecTag(AVMEDIA_TYPE_AUDIO, tag);
}
void TCustomFFmpeg::SetSubtitleTag(const std::string& tag) {
    if (!tag.empty()) ApplyCodecTag(AVMEDIA_TYPE_SUBTITLE, tag);
}
void TCustomFFmpeg::SetVideoLanguage(const std::string& language) {
    if (!language.empty()) FVideo.Language = language;
}
void TCustomFFmpeg::SetAudioLanguage(const std::string& language) {
    if (!language.empty()) FAudio.Language = language;
}
void TCustomFFmpeg::SetSubtitleLanguage(const std::string& language) {
    if (!language.empty()) FSubtitle.Language = language;
}
void TCustomFFmpeg::SetVideoPreset(const std::string& preset) {
    if (!preset.empty()) ApplyPresetOption("vpre", preset);
}
void TCustomFFmpeg::SetAudioPreset(const std::string& preset) {
    if (!preset.empty()) ApplyPresetOption("apre", preset);
}
void TCustomFFmpeg::SetSubtitlePreset(const std::string& preset) {
    if (!preset.empty()) ApplyPresetOption("spre", preset);
}

// --- Run settings ----------------------------------------------------------------------------

void TCustomFFmpeg::SetMuxPreload(float seconds) {
    if (seconds > kMaxTimeSeconds) RaiseOutOfRange("muxpreload", seconds);
    if (seconds > 0) FRun.MuxPreload = seconds;
}
void TCustomFFmpeg::SetMuxMaxDelay(float seconds) {
    if (seconds > kMaxMuxDelaySeconds) RaiseOutOfRange("muxdelay", seconds);
    if (seconds > 0) FRun.MuxMaxDelay = seconds;
}
void TCustomFFmpeg::SetAudioSyncMethod(int method) {
    FRun.AudioSyncMethod = method;
}
void TCustomFFmpeg::SetVideoSyncMethod(int method) {
    FRun.VideoSyncMethod = method;
}
void TCustomFFmpeg::SetCopyTimestamps(bool copy) {
    FRun.CopyTs = copy;
}

void TCustomFFmpeg::SetStartTime(int64_t microseconds) {
    if (microseconds == kNoTimeValue) return;
    if (!DurationInRange(microseconds)) RaiseDurationOutOfRange("ss", microseconds);
    FRun.StartTime = microseconds;
}

void TCustomFFmpeg::ApplyRecordingTime(int64_t microseconds) {
    FRun.RecordingTime = microseconds;
    FRun.RecordingTimeSeconds = static_cast<double>(microseconds) / 1000000;
    FState.TotalDuration = microseconds;  // what progress reports measure against
}

void TCustomFFmpeg::SetRecordingTime(int64_t microseconds) {
    if (microseconds == kNoTimeValue) return;
    if (!DurationInRange(microseconds)) RaiseDurationOutOfRange("t", microseconds);
    ApplyRecordingTime(microseconds);
}

void TCustomFFmpeg::SetProgramId(int id) {
    if (id >= 0) FRun.ProgramId = id;
}
void TCustomFFmpeg::SetFileFormat(const std::string& format) {
    if (!format.empty()) FFiles.FileFormat = format;
}
void TCustomFFmpeg::SetVerbose(int verbose) {
    FRun.Verbose = verbose;
}

void TCustomFFmpeg::SetPreview(bool on) {
    ChangePreviewFlags(kPreviewWindowFlag, on);
}

void TCustomFFmpeg::SetPreviewBitmap(bool on) {
    ChangePreviewFlags(kPreviewBitmapFlag, on);
}

// --- Files named by the job, hooks -----------------------------------------------------------

void TCustomFFmpeg::SetVstatsFileFromClock() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char clock[16];
    std::snprintf(clock, sizeof clock, "%02d%02d%02d", local.tm_hour, local.tm_min, local.tm_sec);
    // Beside the program when it is portable, else in the user's data folder: somewhere writable.
    const std::string folder = UserDataFolder();
    EnsureFolder(folder);
    FRun.VstatsFileName = folder + "vstats_" + clock + ".log";
}

void TCustomFFmpeg::AddVideoHook(const std::string& value) {
    if (FVideoHooks.Add(SplitVideoHookArguments(value)) != fhOk)
        throw FFmpegException("Failed to add video hook function: " + value);
    FState.HooksInUse = true;
}

}  // namespace kestrova
