#pragma once
// The audio stream of a clip: one sine tone per channel (ToneSignal.h).
#include "tools/mediagen/EncodedStream.h"
#include "tools/mediagen/GeneratorOptions.h"

#include <cstdint>

namespace kestrova::mediagen {

class TAudioTrack {
public:
    // sampleCount samples, the first one at startSample (in 1/sampleRate units).
    TAudioTrack(AVFormatContext* muxer, const char* encoderName, const TGeneratorOptions& options,
                int64_t startSample, int64_t sampleCount);

    bool Done() const { return FWritten >= FCount; }
    double NextTime() const;
    void EncodeNext();
    void Flush() { FStream.Encode(nullptr); }

private:
    void Configure(const TGeneratorOptions& options);
    void FillTone(int samples);

    TEncodedStream FStream;
    int FSampleRate;
    int FFrameSize = 0;
    bool FPadLastFrame = false;  // the encoder takes only whole frames
    FramePtr FFrame;
    int64_t FStart, FCount, FWritten = 0;
};

}  // namespace kestrova::mediagen
