#include "tools/mediagen/GeneratorOptions.h"

#include "tools/mediagen/FormatTable.h"
#include "tools/mediagen/FramePattern.h"
#include "tools/mediagen/ToneSignal.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>

namespace kestrova::mediagen {

namespace {

int ParseInt(const std::string& name, const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end)
        throw EUsage(name + " expects a whole number, not \"" + text + "\"");
    return value;
}

double ParseDouble(const std::string& name, const std::string& text) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || !std::isfinite(value))
        throw EUsage(name + " expects a number, not \"" + text + "\"");
    return value;
}

TRational ParseRate(const std::string& text) {
    const auto slash = text.find('/');
    TRational rate;
    rate.Num = ParseInt("--rate", text.substr(0, slash));
    rate.Den = slash == std::string::npos ? 1 : ParseInt("--rate", text.substr(slash + 1));
    if (rate.Num <= 0 || rate.Den <= 0 || rate.Num > 240 * rate.Den)
        throw EUsage("--rate must be a positive frame rate of at most 240, not \"" + text + "\"");
    return rate;
}

void ParseSize(const std::string& name, const std::string& text, int& width, int& height) {
    const auto x = text.find('x');
    if (x == std::string::npos) throw EUsage(name + " expects WIDTHxHEIGHT, not \"" + text + "\"");
    width = ParseInt(name, text.substr(0, x));
    height = ParseInt(name, text.substr(x + 1));
    const auto valid = [](int side) { return side >= kMinPatternSide && side <= 4096 && side % 2 == 0; };
    if (!valid(width) || !valid(height))
        throw EUsage(name + " needs even sides from 16 to 4096, not \"" + text + "\"");
}

// A mid-stream change needs a container that carries it, and the stream that changes.
void ValidateChanges(const TGeneratorOptions& options, const TFormatProfile& profile, bool hasVideo,
                     bool hasAudio) {
    if (ChangesSize(options) && (!profile.SizeChanges || !hasVideo))
        throw EUsage("--change-size needs a video stream in a format that carries the change (ts)");
    if (!ChangesSound(options)) return;
    if (!profile.SoundChanges || !hasAudio)
        throw EUsage("--change-sample-rate and --change-channels need an audio stream in a format that "
                     "carries the change (ts, mp3)");
    if (options.ChangeSampleRate != 0 &&
        (options.ChangeSampleRate < 8000 || options.ChangeSampleRate > 192000))
        throw EUsage("--change-sample-rate must be from 8000 to 192000");
    if (options.ChangeChannels != 0 && (options.ChangeChannels < 1 || options.ChangeChannels > kMaxChannels))
        throw EUsage("--change-channels must be from 1 to " + std::to_string(kMaxChannels));
}

void Validate(const TGeneratorOptions& options) {
    if (options.Format.empty()) throw EUsage("--format is required");
    const TFormatProfile* profile = FindFormat(options.Format);
    if (!profile) throw EUsage("unknown format \"" + options.Format + "\"");
    if (options.Output.empty()) throw EUsage("--output is required");
    if (!(options.Duration > 0.0) || options.Duration > 3600.0)
        throw EUsage("--duration must be more than 0 and at most 3600 seconds");
    if (options.SampleRate < 8000 || options.SampleRate > 192000)
        throw EUsage("--sample-rate must be from 8000 to 192000");
    if (options.Channels < 1 || options.Channels > kMaxChannels)
        throw EUsage("--channels must be from 1 to " + std::to_string(kMaxChannels));
    const bool hasVideo = options.Video && profile->VideoEncoder;
    const bool hasAudio = options.Audio && profile->AudioEncoder;
    if (!hasVideo && !hasAudio) throw EUsage("the clip would have no stream at all");
    ValidateChanges(options, *profile, hasVideo, hasAudio);
    if (options.AudioOffset != 0.0) {
        if (!hasVideo || !hasAudio) throw EUsage("--audio-offset needs both a video and an audio stream");
        if (std::fabs(options.AudioOffset) >= options.Duration)
            throw EUsage("--audio-offset must be shorter than the duration");
    }
    if (!options.Damage.empty() && options.Damage != "empty" && options.Damage != "garbage" &&
        options.Damage != "truncated" && options.Damage != "overwritten")
        throw EUsage("--damage must be empty, garbage, truncated or overwritten, not \"" + options.Damage +
                     "\"");
}

}  // namespace

TGeneratorOptions ParseArguments(const std::vector<std::string>& args) {
    TGeneratorOptions options;
    using Handler = std::function<void(const std::string&)>;
    const std::map<std::string, Handler> withValue = {
            {"--format", [&](const std::string& v) { options.Format = v; }},
            {"--output", [&](const std::string& v) { options.Output = v; }},
            {"--duration", [&](const std::string& v) { options.Duration = ParseDouble("--duration", v); }},
            {"--size", [&](const std::string& v) { ParseSize("--size", v, options.Width, options.Height); }},
            {"--change-size",
             [&](const std::string& v) {
                 ParseSize("--change-size", v, options.ChangeWidth, options.ChangeHeight);
             }},
            {"--change-sample-rate",
             [&](const std::string& v) { options.ChangeSampleRate = ParseInt("--change-sample-rate", v); }},
            {"--change-channels",
             [&](const std::string& v) { options.ChangeChannels = ParseInt("--change-channels", v); }},
            {"--rate", [&](const std::string& v) { options.Rate = ParseRate(v); }},
            {"--sample-rate",
             [&](const std::string& v) { options.SampleRate = ParseInt("--sample-rate", v); }},
            {"--channels", [&](const std::string& v) { options.Channels = ParseInt("--channels", v); }},
            {"--audio-offset",
             [&](const std::string& v) { options.AudioOffset = ParseDouble("--audio-offset", v); }},
            {"--damage", [&](const std::string& v) { options.Damage = v; }},
            {"--seed",
             [&](const std::string& v) {
                 const int seed = ParseInt("--seed", v);
                 if (seed < 0) throw EUsage("--seed must not be negative");
                 options.Seed = static_cast<uint32_t>(seed);
             }},
    };
    const std::map<std::string, Handler> flags = {
            {"--no-audio", [&](const std::string&) { options.Audio = false; }},
            {"--no-video", [&](const std::string&) { options.Video = false; }},
            {"--verbose", [&](const std::string&) { options.Verbose = true; }},
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (const auto flag = flags.find(arg); flag != flags.end()) {
            flag->second(arg);
        } else if (const auto option = withValue.find(arg); option != withValue.end()) {
            if (i + 1 >= args.size()) throw EUsage(arg + " needs a value");
            option->second(args[++i]);
        } else {
            throw EUsage("unknown argument \"" + arg + "\"");
        }
    }
    Validate(options);
    return options;
}

const char* UsageText() {
    return "usage: kestrova-mediagen --format FORMAT --output PATH [options]\n"
           "  FORMAT: flv (FLV1+MP3), f4v (H.264+AAC), mp4 (H.264+AAC), mp4-mpeg4 (MPEG-4+AAC),\n"
           "          mp3, wma (WMA v2 in ASF), wav (PCM 16-bit), ts (MPEG-2 video+MP2 in MPEG-TS),\n"
           "          jpg (one still JPEG picture, whatever the duration)\n"
           "  --duration SECONDS      length of the clip (default 2)\n"
           "  --size WxH              picture size, even sides (default 320x240)\n"
           "  --rate FPS              frame rate, whole or N/D (default 25)\n"
           "  --sample-rate N         audio sample rate (default 44100)\n"
           "  --channels N            audio channels, 1 to 8 (default 2)\n"
           "  --audio-offset SECONDS  audio starts this much later than video (negative: earlier)\n"
           "  --no-audio, --no-video  leave a stream out\n"
           "  --change-size WxH       pictures of this size from the middle of the clip on (ts)\n"
           "  --change-sample-rate N  sound at this rate from the middle of the clip on (ts, mp3)\n"
           "  --change-channels N     sound with this many channels from the middle on (ts, mp3)\n"
           "  --damage KIND           empty, garbage, truncated or overwritten\n"
           "  --seed N                seed of the random bytes of damaged clips (default 1)\n"
           "  --verbose               show the media libraries' messages\n";
}

}  // namespace kestrova::mediagen
