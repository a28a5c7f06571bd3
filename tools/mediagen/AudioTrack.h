#pragma once
// The audio stream of a clip: one sine tone per channel (ToneSignal.h).
#include "tools/mediagen/EncodedStream.h"
#include "tools/mediagen/GeneratorOptions.h"

#include <cstdint>

namespace kestrova::mediagen {

class AudioTrack {
public:
    // sampleCount samples, the first one at startSample (in 1/sampleRate units).
    AudioTrack(AVFormatContext* muxer, const char* encoderName, const GeneratorOptions& options,
               int64_t startSample, int64_t sampleCount);

    bool Done() const { return written_ >= count_; }
    double NextTime() const;
    void EncodeNext();
    void Flush() { stream_.Encode(nullptr); }

private:
    void Configure(const GeneratorOptions& options);
    void FillTone(int samples);

    EncodedStream stream_;
    int sampleRate_;
    int frameSize_ = 0;
    bool padLastFrame_ = false;  // the encoder takes only whole frames
    FramePtr frame_;
    int64_t start_, count_, written_ = 0;
};

} // namespace kestrova::mediagen
