// The host option records: defaults, the option text passes and the order of application.
#include "engine/front/HostOptions.h"

#include "engine/core/CustomFFmpeg.h"
#include "engine/core/options/TargetPresets.h"
#include "engine/frame/Text.h"

#include <cmath>
#include <ctime>

namespace kestrova {

namespace {

// CR LF, lone CR and the literal "<CRLF>" all become LF.
std::string NormalisedBreaks(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (text.compare(i, 6, "<CRLF>") == 0) {
            out += '\n';
            i += 5;
        } else {
            out += text[i];
        }
    }
    return out;
}

const char* NormText(int norm) {
    switch (norm) {
        case 1:
            return "pal";
        case 2:
            return "ntsc";
        default:
            return "auto";
    }
}

const char* TargetText(int target) {
    switch (target) {
        case 1:
            return "vcd";
        case 2:
            return "svcd";
        case 3:
            return "dvd";
        default:
            return nullptr;
    }
}

void ApplyPositive(TCustomFFmpeg& job, const char* name, int32_t value) {
    if (value > 0) job.ApplyOption(name, std::to_string(value));
}

void ApplyFlag(TCustomFFmpeg& job, const char* name, bool value) {
    if (value) job.ApplyOption(name, "");
}

int StandardBiasMinutes() {
    tzset();
    return static_cast<int>(timezone / 60);  // seconds west of UTC
}

void ApplyTimestamp(TCustomFFmpeg& job, double timestamp) {
    if (timestamp < 0) return;
    if (timestamp == 0) {
        job.ApplyOption("timestamp", "now");
        return;
    }
    const std::time_t unixTime = UnixTimeFromLocalDays(timestamp, StandardBiasMinutes());
    std::tm utc{};
    gmtime_r(&unixTime, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    job.ApplyOption("timestamp", text);
}

void ApplyMetadata(TCustomFFmpeg& job, const TStreamInfo& info) {
    ApplyTimestamp(job, info.Timestamp);
    if (info.Year > 0) job.AddMetadata("year", std::to_string(info.Year));
    if (info.Track > 0) job.AddMetadata("track", std::to_string(info.Track));
    const std::pair<const char*, const std::string*> texts[] = {
            {"title", &info.Title},     {"author", &info.Author}, {"copyright", &info.Copyright},
            {"comment", &info.Comment}, {"album", &info.Album},   {"genre", &info.Genre},
    };
    for (const auto& [key, value] : texts)
        if (!value->empty()) job.AddMetadata(key, *value);
}

void ApplyAudioFields(TCustomFFmpeg& job, const TOutputOptions& o) {
    job.SetAudioCodec(o.AudioCodec);
    job.SetAudioPreset(o.AudioPreset);
    ApplyFlag(job, "an", o.DisableAudio);
    job.SetVolume(o.Volume);
    if (o.AudioChannels > 0) job.SetChannels(o.AudioChannels);
    if (o.AudioSampleRate > 0) job.SetSampleRate(o.AudioSampleRate);
    ApplyPositive(job, "ab", o.AudioBitrate);
    ApplyPositive(job, "abt", o.AudioBitrateTolerance);
    job.SetAudioLanguage(o.AudioLanguage);
    // 0 is the job's own default: only a chosen method replaces one given in the option text.
    if (o.AudioSync > 0) job.SetAudioSyncMethod(o.AudioSync);
    job.SetAudioTag(o.AudioTag);
}

void ApplyVideoFields(TCustomFFmpeg& job, const TOutputOptions& o) {
    job.SetVideoCodec(o.VideoCodec);
    job.SetVideoPreset(o.VideoPreset);
    ApplyFlag(job, "vn", o.DisableVideo);
    job.SetFrameRate(o.FrameRate);
    job.SetFrameSize(o.FrameSize);
    job.SetAspectRatio(o.AspectRatio);
    job.SetCropTop(o.CropTop);
    job.SetCropBottom(o.CropBottom);
    job.SetCropLeft(o.CropLeft);
    job.SetCropRight(o.CropRight);
    job.SetPadTop(o.PadTop);
    job.SetPadBottom(o.PadBottom);
    job.SetPadLeft(o.PadLeft);
    job.SetPadRight(o.PadRight);
    // The job's own default is black already (in its video range): only another colour is set.
    if ((o.PadColor & 0xFFFFFFu) != 0) job.SetPadColor(o.PadColor & 0xFFFFFFu);
    ApplyPositive(job, "g", o.GopSize);
    ApplyPositive(job, "vb", o.VideoBitrate);
    ApplyPositive(job, "maxrate", o.MaxRate);
    ApplyPositive(job, "minrate", o.MinRate);
    ApplyPositive(job, "bt", o.VideoBitrateTolerance);
    ApplyPositive(job, "bufsize", o.BufSize);
    // -1 (automatic) is the job's own default: only a chosen method replaces the option text's.
    if (o.VideoSync >= 0) job.SetVideoSyncMethod(o.VideoSync);
    job.SetVideoTag(o.VideoTag);
    if (!o.VideoFilters.empty()) job.ApplyOption("vfilters", o.VideoFilters);
    job.SetVideoLanguage(o.VideoLanguage);
}

void ApplySubtitleFields(TCustomFFmpeg& job, const TOutputOptions& o) {
    job.SetSubtitleCodec(o.SubtitleCodec);
    job.SetSubtitlePreset(o.SubtitlePreset);
    ApplyFlag(job, "sn", o.DisableSubtitle);
    job.SetSubtitleLanguage(o.SubtitleLanguage);
}

}  // namespace

void InitInputOptions(TInputOptions& options) {
    options = TInputOptions{};
}
void InitOutputOptions(TOutputOptions& options) {
    options = TOutputOptions{};
}

std::vector<std::pair<std::string, std::string>> SplitOptionText(const std::string& text) {
    std::vector<std::pair<std::string, std::string>> lines;
    const std::string rest = NormalisedBreaks(Trimmed(text));
    std::size_t start = 0;
    while (start < rest.size()) {
        std::size_t end = rest.find('\n', start);
        if (end == std::string::npos) end = rest.size();
        const std::string line = rest.substr(start, end - start);
        start = end + 1;
        // A blank line between options names nothing: applying it would only fail.
        if (line.empty()) continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos)
            lines.emplace_back(line, std::string());
        else
            lines.emplace_back(line.substr(0, equals), line.substr(equals + 1));
    }
    return lines;
}

int OptionPass(const std::string& name) {
    if (name == "newvideo" || name == "newaudio" || name == "newsubtitle") return 0;
    if (name == "apre" || name == "vpre" || name == "spre") return 1;
    return 2;
}

void ApplyOptionText(TCustomFFmpeg& job, const std::string& text, int pass) {
    for (const auto& [name, value] : SplitOptionText(text))
        if (OptionPass(name) == pass) job.ApplyOption(name, value);
}

void ApplyInputOptions(TCustomFFmpeg& job, TInputOptions& options, const std::string& fileName) {
    if (options.FileName.empty()) options.FileName = fileName;
    ApplyOptionText(job, options.ExtOptions, 2);
    job.SetFileFormat(options.FileFormat);
    job.SetStartTime(options.StartTime);
    job.SetProgramId(options.ProgramID);
}

void ApplyOutputOptions(TCustomFFmpeg& job, TOutputOptions& o, const std::string& fileName) {
    if (o.FileName.empty()) o.FileName = fileName;
    if (const char* target = TargetText(o.Target))
        ApplyTargetPreset(target, NormText(o.TargetNorm), o.TargetDefaultNorm == 1 ? "pal" : "ntsc", job);
    ApplyOptionText(job, o.ExtOptions, 2);

    job.SetFileFormat(o.FileFormat);
    ApplyPositive(job, "packetsize", o.PacketSize);
    ApplyPositive(job, "muxrate", o.MuxRate);
    job.SetMuxMaxDelay(o.MuxDelay);
    job.SetMuxPreload(o.MuxPreload);
    ApplyAudioFields(job, o);
    ApplyVideoFields(job, o);
    ApplySubtitleFields(job, o);
    if (o.CopyTimestamps) job.SetCopyTimestamps(true);
    job.SetStartTime(o.StartTime);
    job.SetRecordingTime(o.Duration);
    ApplyMetadata(job, o.Metadata);
    if (o.LimitByLongestStream) job.LimitByLongestStream = true;

    ApplyOptionText(job, o.ExtOptions, 1);
}

void ApplyOutputOptionsAfterAdd(TCustomFFmpeg& job, const TOutputOptions& options) {
    ApplyOptionText(job, options.ExtOptions, 0);
}

int64_t UnixTimeFromLocalDays(double days, int biasMinutes) {
    constexpr double kUnixEpochDays = 25569;  // 1 January 1970 in days since 30 December 1899
    return std::llround((days - kUnixEpochDays + biasMinutes / 1440.0) * 86400);
}

}  // namespace kestrova
