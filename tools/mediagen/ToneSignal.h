#pragma once
// The synthetic sound of the generated clips: one sine per channel, channel c at
// 440 Hz * (c + 1), amplitude kToneAmplitude of full scale, phase zero at the first sample
// of the audio stream. No library dependency: tests use it to know what to expect.
#include <cmath>
#include <cstdint>

namespace kestrova::mediagen {

inline constexpr double kToneBaseHz = 440.0;
inline constexpr double kToneAmplitude = 0.4;
inline constexpr int kMaxChannels = 8;

inline double ToneFrequency(int channel) {
    return kToneBaseHz * (channel + 1);
}

// Value in [-1, 1] of channel c at sample index n (counted from the audio's first sample).
inline double ToneSample(int channel, int64_t index, int sampleRate) {
    // Reduce the phase in whole periods of the sample rate first, so the argument of sin stays
    // small and the value is the same however long the clip is.
    const double frequency = ToneFrequency(channel);
    const int64_t wrapped = index % sampleRate;
    return kToneAmplitude * std::sin(2.0 * M_PI * frequency * static_cast<double>(wrapped) / sampleRate);
}

}  // namespace kestrova::mediagen
