#pragma once
// What one run of the generator is asked to make, and how it is read from the command line.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace kestrova::mediagen {

struct TRational {
    int Num = 25, Den = 1;
};

struct TGeneratorOptions {
    std::string Format;     // flv, f4v, mp4, mp4-mpeg4, mp3, wma, wav, ts, jpg
    std::string Output;     // path of the file to make
    double Duration = 2.0;  // seconds of the clip's timeline
    int Width = 320, Height = 240;
    TRational Rate;  // frames per second
    int SampleRate = 44100;
    int Channels = 2;
    double AudioOffset = 0.0;  // audio starts this much later than video (negative: earlier)
    // From the middle of the clip on: pictures of this size, sound of this rate and channel
    // count (0: no change).
    int ChangeWidth = 0, ChangeHeight = 0;
    int ChangeSampleRate = 0, ChangeChannels = 0;
    bool Audio = true, Video = true;
    std::string Damage;  // empty, garbage, truncated, overwritten
    uint32_t Seed = 1;   // seeds the random bytes of damaged variants
    bool Verbose = false;
};

// A command line the generator refuses; main prints the message with the usage text.
class EUsage : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline bool ChangesSize(const TGeneratorOptions& options) {
    return options.ChangeWidth > 0;
}
inline bool ChangesSound(const TGeneratorOptions& options) {
    return options.ChangeSampleRate > 0 || options.ChangeChannels > 0;
}

// Parses the arguments after the program name; throws EUsage on anything invalid.
TGeneratorOptions ParseArguments(const std::vector<std::string>& args);

const char* UsageText();

}  // namespace kestrova::mediagen
