#pragma once
// Test media on demand: generated clips by their parameters, scratch folders, and the
// read-back of the generated picture code and tone.
//
// Clips come from the project's generator (kestrova-mediagen), run the first time a spec is
// asked for; the file lands in <build>/test-media/ under a name made of the parameters and is
// reused by every later test (it is made again when the generator is newer than the file).
// Several test processes may ask for the same clip at once: the generator writes under a
// private temporary name and renames into place, so a reader never sees a partial file.
//
// This library does not link the media libraries, so engine test binaries can use it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kestrova::testmedia {

struct ClipSpec {
    std::string format = "mp4";  // flv, f4v, mp4, mp4-mpeg4, mp3, wma, wav, ts, jpg (one still)
    double duration = 2.0;       // seconds
    int width = 320, height = 240;
    std::string rate = "25";  // frames per second, whole or "N/D"
    int sampleRate = 44100;
    int channels = 2;
    double audioOffset = 0.0;  // audio starts this much later than video (negative: earlier)
    // From the middle of the clip on (0: no change): picture size (ts), sample rate and channel
    // count (ts, mp3).
    int changeWidth = 0, changeHeight = 0;
    int changeSampleRate = 0, changeChannels = 0;
    bool audio = true, video = true;
    std::string damage;     // empty, garbage, truncated, overwritten
    std::string extension;  // file extension instead of the format's own (a misleading name)
};

// Path of the clip in <build>/test-media/, made once and reused afterwards. Throws
// std::runtime_error with the generator's output when it cannot be made.
std::string Clip(const ClipSpec& spec);

// A fresh, empty folder <build>/test-tmp/<name> for a test's outputs (emptied if it exists).
std::string TempDir(const std::string& name);

// Reads the frame number back from a decoded luma (Y) plane of a generated clip's picture,
// at any size the clip was made in; -1 when the picture carries no readable number.
// Frame n is the one shown at n / rate seconds of the clip's timeline.
int FrameNumberFromPicture(const uint8_t* luma, int linesize, int width, int height);

// Frequency of the generated tone of a channel (440 Hz * (channel + 1)).
double ToneFrequency(int channel);

// Estimates the frequency of a tone from one channel's samples (from its rising zero
// crossings); 0 when the samples hold fewer than two whole periods.
double EstimateFrequency(const float* samples, size_t count, int sampleRate);

// The generator's own file extension for a format ("mp4-mpeg4" gives "mp4").
std::string FormatExtension(const std::string& format);

// Runs the generator with the given arguments; its exit code and its combined output.
struct GeneratorRun {
    int exitCode = -1;
    std::string output;
};
GeneratorRun RunGenerator(const std::vector<std::string>& args);

// Path of the generator and of the build folder the tests run in.
std::string GeneratorPath();
std::string BuildDir();

}  // namespace kestrova::testmedia
