// Reading the generated picture code and tone back from decoded media.
#include "tests/support/TestMedia.h"

#include "tools/mediagen/FramePattern.h"
#include "tools/mediagen/ToneSignal.h"

namespace kestrova::testmedia {

int FrameNumberFromPicture(const uint8_t* luma, int linesize, int width, int height) {
    return mediagen::ReadFrameNumber(luma, linesize, width, height);
}

double ToneFrequency(int channel) {
    return mediagen::ToneFrequency(channel);
}

double EstimateFrequency(const float* samples, size_t count, int sampleRate) {
    // Times of the rising zero crossings, each placed between its two samples by linear
    // interpolation; the frequency is the number of whole periods between the first and
    // the last crossing over the time they span.
    double first = -1.0, last = -1.0;
    long periods = -1;
    for (size_t i = 1; i < count; ++i) {
        if (samples[i - 1] < 0.0f && samples[i] >= 0.0f) {
            const double fraction = samples[i - 1] / (static_cast<double>(samples[i - 1]) - samples[i]);
            const double at = static_cast<double>(i - 1) + fraction;
            if (first < 0.0) first = at;
            last = at;
            ++periods;
        }
    }
    if (periods < 2 || last <= first) return 0.0;
    return static_cast<double>(periods) * sampleRate / (last - first);
}

}  // namespace kestrova::testmedia
