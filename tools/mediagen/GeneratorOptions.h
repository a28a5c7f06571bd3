#pragma once
// What one run of the generator is asked to make, and how it is read from the command line.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace kestrova::mediagen {

struct Rational {
    int num = 25, den = 1;
};

struct GeneratorOptions {
    std::string format;        // flv, f4v, mp4, mp4-mpeg4, mp3, wma, wav
    std::string output;        // path of the file to make
    double duration = 2.0;     // seconds of the clip's timeline
    int width = 320, height = 240;
    Rational rate;             // frames per second
    int sampleRate = 44100;
    int channels = 2;
    double audioOffset = 0.0;  // audio starts this much later than video (negative: earlier)
    bool audio = true, video = true;
    std::string damage;        // empty, garbage, truncated, overwritten
    uint32_t seed = 1;         // seeds the random bytes of damaged variants
    bool verbose = false;
};

// A command line the generator refuses; main prints the message with the usage text.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Parses the arguments after the program name; throws UsageError on anything invalid.
GeneratorOptions ParseArguments(const std::vector<std::string>& args);

const char* UsageText();

} // namespace kestrova::mediagen
