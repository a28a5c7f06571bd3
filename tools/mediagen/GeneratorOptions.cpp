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
        throw UsageError(name + " expects a whole number, not \"" + text + "\"");
    return value;
}

double ParseDouble(const std::string& name, const std::string& text) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || !std::isfinite(value))
        throw UsageError(name + " expects a number, not \"" + text + "\"");
    return value;
}

Rational ParseRate(const std::string& text) {
    const auto slash = text.find('/');
    Rational rate;
    rate.num = ParseInt("--rate", text.substr(0, slash));
    rate.den = slash == std::string::npos ? 1 : ParseInt("--rate", text.substr(slash + 1));
    if (rate.num <= 0 || rate.den <= 0 || rate.num > 240 * rate.den)
        throw UsageError("--rate must be a positive frame rate of at most 240, not \"" + text + "\"");
    return rate;
}

void ParseSize(const std::string& text, GeneratorOptions& options) {
    const auto x = text.find('x');
    if (x == std::string::npos) throw UsageError("--size expects WIDTHxHEIGHT, not \"" + text + "\"");
    options.width = ParseInt("--size", text.substr(0, x));
    options.height = ParseInt("--size", text.substr(x + 1));
    const auto valid = [](int side) { return side >= kMinPatternSide && side <= 4096 && side % 2 == 0; };
    if (!valid(options.width) || !valid(options.height))
        throw UsageError("--size needs even sides from 16 to 4096, not \"" + text + "\"");
}

void Validate(const GeneratorOptions& options) {
    if (options.format.empty()) throw UsageError("--format is required");
    const FormatProfile* profile = FindFormat(options.format);
    if (!profile) throw UsageError("unknown format \"" + options.format + "\"");
    if (options.output.empty()) throw UsageError("--output is required");
    if (!(options.duration > 0.0) || options.duration > 3600.0)
        throw UsageError("--duration must be more than 0 and at most 3600 seconds");
    if (options.sampleRate < 8000 || options.sampleRate > 192000)
        throw UsageError("--sample-rate must be from 8000 to 192000");
    if (options.channels < 1 || options.channels > kMaxChannels)
        throw UsageError("--channels must be from 1 to " + std::to_string(kMaxChannels));
    const bool hasVideo = options.video && profile->videoEncoder;
    const bool hasAudio = options.audio && profile->audioEncoder;
    if (!hasVideo && !hasAudio) throw UsageError("the clip would have no stream at all");
    if (options.audioOffset != 0.0) {
        if (!hasVideo || !hasAudio)
            throw UsageError("--audio-offset needs both a video and an audio stream");
        if (std::fabs(options.audioOffset) >= options.duration)
            throw UsageError("--audio-offset must be shorter than the duration");
    }
    if (!options.damage.empty() && options.damage != "empty" && options.damage != "garbage" &&
        options.damage != "truncated" && options.damage != "overwritten")
        throw UsageError("--damage must be empty, garbage, truncated or overwritten, not \"" +
                         options.damage + "\"");
}

} // namespace

GeneratorOptions ParseArguments(const std::vector<std::string>& args) {
    GeneratorOptions options;
    using Handler = std::function<void(const std::string&)>;
    const std::map<std::string, Handler> withValue = {
        {"--format", [&](const std::string& v) { options.format = v; }},
        {"--output", [&](const std::string& v) { options.output = v; }},
        {"--duration", [&](const std::string& v) { options.duration = ParseDouble("--duration", v); }},
        {"--size", [&](const std::string& v) { ParseSize(v, options); }},
        {"--rate", [&](const std::string& v) { options.rate = ParseRate(v); }},
        {"--sample-rate", [&](const std::string& v) { options.sampleRate = ParseInt("--sample-rate", v); }},
        {"--channels", [&](const std::string& v) { options.channels = ParseInt("--channels", v); }},
        {"--audio-offset", [&](const std::string& v) { options.audioOffset = ParseDouble("--audio-offset", v); }},
        {"--damage", [&](const std::string& v) { options.damage = v; }},
        {"--seed", [&](const std::string& v) {
             const int seed = ParseInt("--seed", v);
             if (seed < 0) throw UsageError("--seed must not be negative");
             options.seed = static_cast<uint32_t>(seed);
         }},
    };
    const std::map<std::string, Handler> flags = {
        {"--no-audio", [&](const std::string&) { options.audio = false; }},
        {"--no-video", [&](const std::string&) { options.video = false; }},
        {"--verbose", [&](const std::string&) { options.verbose = true; }},
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (const auto flag = flags.find(arg); flag != flags.end()) {
            flag->second(arg);
        } else if (const auto option = withValue.find(arg); option != withValue.end()) {
            if (i + 1 >= args.size()) throw UsageError(arg + " needs a value");
            option->second(args[++i]);
        } else {
            throw UsageError("unknown argument \"" + arg + "\"");
        }
    }
    Validate(options);
    return options;
}

const char* UsageText() {
    return "usage: kestrova-mediagen --format FORMAT --output PATH [options]\n"
           "  FORMAT: flv (FLV1+MP3), f4v (H.264+AAC), mp4 (H.264+AAC), mp4-mpeg4 (MPEG-4+AAC),\n"
           "          mp3, wma (WMA v2 in ASF), wav (PCM 16-bit)\n"
           "  --duration SECONDS      length of the clip (default 2)\n"
           "  --size WxH              picture size, even sides (default 320x240)\n"
           "  --rate FPS              frame rate, whole or N/D (default 25)\n"
           "  --sample-rate N         audio sample rate (default 44100)\n"
           "  --channels N            audio channels, 1 to 8 (default 2)\n"
           "  --audio-offset SECONDS  audio starts this much later than video (negative: earlier)\n"
           "  --no-audio, --no-video  leave a stream out\n"
           "  --damage KIND           empty, garbage, truncated or overwritten\n"
           "  --seed N                seed of the random bytes of damaged clips (default 1)\n"
           "  --verbose               show the media libraries' messages\n";
}

} // namespace kestrova::mediagen
