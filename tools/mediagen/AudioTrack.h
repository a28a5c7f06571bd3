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
    void Configure(int sampleRate, int channels);
    void AllocateFrame();
    void ChangeSound();

    void FillTone(int samples);

    TEncodedStream FStream;
    const TGeneratorOptions& FOptions;
    int64_t FChangeAt = -1;  // samples written before the sound changes; -1: no change
    int FSampleRate;
    int FFrameSize = 0;
    bool FPadLastFrame = false;  // the encoder takes only whole frames
    FramePtr FFrame;
    int64_t FStart, FCount, FWritten = 0;
};

}  // namespace kestrova::mediagen
