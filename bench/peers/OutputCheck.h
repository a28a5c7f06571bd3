#pragma once
// Whether every side of a case made the same kind of output with the same encoder settings,
// read back from the outputs themselves rather than assumed from the command lines: x264's own
// settings line (the options it writes into the stream), and per stream what the media
// libraries read back (codec, picture size, sample rate, channels, bit rate, packets).
#include <map>
#include <string>
#include <vector>

namespace kestrova::bench {

// x264's settings as it wrote them into its stream ("cabac=1 ref=3 ..."), by name; empty when
// the file holds none.
std::map<std::string, std::string> X264Settings(const std::string& file);

// The ways `other` differs from `reference`, one text each; empty when they are alike. Thread
// counts are left out (how a side uses the cores is what the benchmark measures), and so are
// the encoded sizes that follow from the settings.
std::vector<std::string> OutputDifferences(const std::string& reference, const std::string& other);

}  // namespace kestrova::bench
