#pragma once
// Target presets: container, codecs, frame size, frame rate, rates and buffer sizes for a VCD,
// SVCD, DVD or DV output in one go, with the TV norm (PAL, NTSC, FILM) taken from the option,
// the pending frame rate, the inputs' video streams or the caller's default.
#include "engine/frame/LibHeaders.h"

#include <string>
#include <vector>

namespace kestrova {

// What applying a target preset needs from a job.
struct TTargetPresetTarget {
    // The job's option dispatcher ("vcodec", "f", "s", "r", "g", "b", "aspect", ...); throws
    // FFmpegException on a bad value.
    virtual void ApplyOption(const std::string& name, const std::string& value) = 0;
    // The pending video frame rate; 0/0 when unset.
    virtual AVRational PendingFrameRate() const = 0;
    // The frame rates of the input files' video streams, files and streams in order.
    virtual std::vector<AVRational> InputVideoFrameRates() const = 0;
    // True when a frame aspect ratio is pending.
    virtual bool AspectRatioSet() const = 0;
    virtual void SetSampleRate(int rate) = 0;
    virtual int Channels() const = 0;
    virtual void SetChannels(int channels) = 0;
    virtual void SetMuxPreload(float seconds) = 0;
    virtual int Verbosity() const = 0;
    // Logs through the engine logger at a TLogLevel ordinal.
    virtual void Log(int level, const std::string& message) = 0;

protected:
    ~TTargetPresetTarget() = default;
};

enum class TTvNorm { PAL, NTSC, FILM };

// Applies target `type` ("vcd", "svcd", "dvd", "dv", "dv50") under `norm` ("pal", "ntsc",
// "film"; anything else decides automatically, falling back to `fallbackNorm`: "film", "ntsc",
// otherwise PAL). Throws FFmpegException; settings made before a failure stay made.
void ApplyTargetPreset(const std::string& type, const std::string& norm, const std::string& fallbackNorm,
                       TTargetPresetTarget& job);

// The "target" option: a type, optionally prefixed with "pal-", "ntsc-" or "film-"; without a
// prefix the norm is decided automatically with NTSC as the fallback.
void ApplyTargetOption(const std::string& value, TTargetPresetTarget& job);

// The norm "auto" decides on (exposed for the front's and tests' use).
TTvNorm DecideTvNorm(const std::string& norm, const std::string& fallbackNorm,
                     const TTargetPresetTarget& job);

}  // namespace kestrova
