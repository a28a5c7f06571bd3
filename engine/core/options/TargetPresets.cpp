#include "engine/core/options/TargetPresets.h"

#include "engine/core/FFmpegException.h"
#include "engine/frame/LogLevel.h"
#include "engine/frame/Text.h"

#include <algorithm>
#include <cmath>

namespace kestrova {

namespace {

constexpr int kPalRate = 25000;  // frame rates times 1000, rounded
constexpr int kNtscRate = 29970;
constexpr int kFilmRate = 23976;

const char* FrameRateOf(TTvNorm norm) {
    switch (norm) {
        case TTvNorm::PAL:
            return "25";
        case TTvNorm::NTSC:
            return "30000/1001";
        case TTvNorm::FILM:
            return "24000/1001";
    }
    return "25";
}

const char* GopSizeOf(TTvNorm norm) {
    return norm == TTvNorm::PAL ? "15" : "18";
}

// PAL size first, then the size for NTSC and FILM.
const char* SizeFor(TTvNorm norm, const char* pal, const char* ntsc) {
    return norm == TTvNorm::PAL ? pal : ntsc;
}

// The norm a frame rate stands for; false when it stands for none.
bool NormOfRate(AVRational rate, TTvNorm& norm) {
    if (rate.num == 0 || rate.den == 0) return false;
    const long milli = std::lround(1000.0 * rate.num / rate.den);
    if (milli == kFilmRate || milli == kNtscRate) {
        norm = TTvNorm::NTSC;
        return true;
    }
    if (milli == kPalRate) {
        norm = TTvNorm::PAL;
        return true;
    }
    return false;
}

TTvNorm FallbackNorm(const std::string& fallbackNorm) {
    if (fallbackNorm == "film") return TTvNorm::FILM;
    if (fallbackNorm == "ntsc") return TTvNorm::NTSC;
    return TTvNorm::PAL;
}

bool IsExplicitNorm(const std::string& norm) {
    return norm == "pal" || norm == "ntsc" || norm == "film";
}

void DefaultAspect(TTargetPresetTarget& job, const char* aspect) {
    if (job.AspectRatioSet()) return;
    job.Log(llInfo, std::string("Assuming ") + aspect + " for aspect ratio");
    job.ApplyOption("aspect", aspect);
}

void CommonVideo(TTargetPresetTarget& job, TTvNorm norm, const char* videoCodec, const char* audioCodec,
                 const char* format, const char* size) {
    job.ApplyOption("vcodec", videoCodec);
    job.ApplyOption("acodec", audioCodec);
    job.ApplyOption("f", format);
    job.ApplyOption("s", size);
    job.ApplyOption("r", FrameRateOf(norm));
    job.ApplyOption("g", GopSizeOf(norm));
}

void AtLeastStereo(TTargetPresetTarget& job) {
    if (job.Channels() == 1) job.SetChannels(2);
}

void ApplyVcd(TTargetPresetTarget& job, TTvNorm norm) {
    CommonVideo(job, norm, "mpeg1video", "mp2", "vcd", SizeFor(norm, "352x288", "352x240"));
    job.ApplyOption("b", "1150000");
    job.ApplyOption("maxrate", "1150000");
    job.ApplyOption("minrate", "1150000");
    job.ApplyOption("bufsize", "327680");  // 40 KiB * 8
    job.ApplyOption("ab", "224000");
    job.SetSampleRate(44100);
    job.SetChannels(2);
    job.ApplyOption("packetsize", "2324");
    job.ApplyOption("muxrate", "1411200");  // 75 sectors of 2352 bytes per second
    // The VCD standard wants the first audio and video packets within 0.44 s of the start.
    job.SetMuxPreload(0.44f);
    DefaultAspect(job, "4:3");
}

void ApplySvcd(TTargetPresetTarget& job, TTvNorm norm) {
    CommonVideo(job, norm, "mpeg2video", "mp2", "svcd", SizeFor(norm, "480x576", "480x480"));
    job.ApplyOption("b", "2040000");
    job.ApplyOption("maxrate", "2516000");
    job.ApplyOption("minrate", "0");
    job.ApplyOption("bufsize", "1835008");  // 224 KiB * 8
    // The older generic "+scan_offset" flag is the MPEG-2 encoder's own option now.
    job.ApplyOption("scan_offset", "1");
    job.ApplyOption("ab", "224000");
    job.SetSampleRate(44100);
    job.ApplyOption("packetsize", "2324");
    AtLeastStereo(job);
    DefaultAspect(job, "4:3");
}

void ApplyDvd(TTargetPresetTarget& job, TTvNorm norm) {
    CommonVideo(job, norm, "mpeg2video", "ac3", "dvd", SizeFor(norm, "720x576", "720x480"));
    job.ApplyOption("b", "6000000");
    job.ApplyOption("maxrate", "9000000");
    job.ApplyOption("minrate", "0");
    job.ApplyOption("bufsize", "1835008");
    job.ApplyOption("packetsize", "2048");  // one DVD sector
    job.ApplyOption("muxrate", "10080000");
    job.ApplyOption("ab", "448000");
    job.SetSampleRate(48000);
    AtLeastStereo(job);
    DefaultAspect(job, "16:9");
}

void ApplyDv(TTargetPresetTarget& job, TTvNorm norm, bool dv50) {
    job.ApplyOption("f", "dv");
    job.ApplyOption("s", SizeFor(norm, "720x576", "720x480"));
    job.ApplyOption("pix_fmt", dv50 ? "yuv422p" : (norm == TTvNorm::PAL ? "yuv420p" : "yuv411p"));
    job.ApplyOption("r", FrameRateOf(norm));
    job.SetSampleRate(48000);
    job.SetChannels(2);
}

}  // namespace

TTvNorm DecideTvNorm(const std::string& norm, const std::string& fallbackNorm,
                     const TTargetPresetTarget& job) {
    if (norm == "pal") return TTvNorm::PAL;
    if (norm == "ntsc") return TTvNorm::NTSC;
    if (norm == "film") return TTvNorm::FILM;
    const AVRational pending = job.PendingFrameRate();
    // 0/0 means no rate was asked for: the inputs decide. Only a rate given with a zero
    // denominator is an error.
    if (pending.den == 0 && pending.num != 0) throw FFmpegException("frame_rate is invalid.");
    TTvNorm decided = TTvNorm::PAL;
    if (NormOfRate(pending, decided)) return decided;
    for (const AVRational rate : job.InputVideoFrameRates())
        if (NormOfRate(rate, decided)) return decided;
    return FallbackNorm(fallbackNorm);
}

void ApplyTargetPreset(const std::string& type, const std::string& norm, const std::string& fallbackNorm,
                       TTargetPresetTarget& job) {
    const TTvNorm decided = DecideTvNorm(norm, fallbackNorm, job);
    if (!IsExplicitNorm(norm) && job.Verbosity() > 0)
        job.Log(llVerbose,
                std::string("Assuming ") + (decided == TTvNorm::PAL ? "PAL" : "NTSC") + " for target.");
    if (type == "vcd")
        ApplyVcd(job, decided);
    else if (type == "svcd")
        ApplySvcd(job, decided);
    else if (type == "dvd")
        ApplyDvd(job, decided);
    else if (type == "dv" || type == "dv50")
        ApplyDv(job, decided, type == "dv50");
    else
        throw FFmpegException("Unknown target type");
}

void ApplyTargetOption(const std::string& value, TTargetPresetTarget& job) {
    const std::string text = Trimmed(value);
    for (const char* norm : {"pal", "ntsc", "film"}) {
        const std::string prefix = std::string(norm) + "-";
        if (text.compare(0, prefix.size(), prefix) == 0) {
            ApplyTargetPreset(text.substr(prefix.size()), norm, "ntsc", job);
            return;
        }
    }
    ApplyTargetPreset(text, "auto", "ntsc", job);
}

}  // namespace kestrova
