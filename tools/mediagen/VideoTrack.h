#pragma once
// The video stream of a clip: numbered pattern pictures at a constant frame rate.
#include "tools/mediagen/EncodedStream.h"
#include "tools/mediagen/GeneratorOptions.h"

#include <cstdint>

namespace kestrova::mediagen {

class TVideoTrack {
public:
    // Frames firstNumber .. endNumber-1; frame n is shown at n / rate seconds.
    TVideoTrack(AVFormatContext* muxer, const char* encoderName, const TGeneratorOptions& options,
                int64_t firstNumber, int64_t endNumber);

    bool Done() const { return FNext >= FEnd; }
    // Time of the next frame in seconds.
    double NextTime() const;
    void EncodeNext();
    void Flush() { FStream.Encode(nullptr); }

private:
    void Configure(int width, int height);
    void AllocatePicture(int width, int height);
    void ChangeSize();

    TEncodedStream FStream;
    const TGeneratorOptions& FOptions;
    int64_t FChangeAt = -1;  // the first frame of the second size; -1: no change
    TRational FRate;
    FramePtr FFrame;
    int64_t FNext, FEnd;
};

}  // namespace kestrova::mediagen
