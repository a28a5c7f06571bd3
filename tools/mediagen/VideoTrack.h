#pragma once
// The video stream of a clip: numbered pattern pictures at a constant frame rate.
#include "tools/mediagen/EncodedStream.h"
#include "tools/mediagen/GeneratorOptions.h"

#include <cstdint>

namespace kestrova::mediagen {

class VideoTrack {
public:
    // Frames firstNumber .. endNumber-1; frame n is shown at n / rate seconds.
    VideoTrack(AVFormatContext* muxer, const char* encoderName, const GeneratorOptions& options,
               int64_t firstNumber, int64_t endNumber);

    bool Done() const { return next_ >= end_; }
    // Time of the next frame in seconds.
    double NextTime() const;
    void EncodeNext();
    void Flush() { stream_.Encode(nullptr); }

private:
    void Configure(const GeneratorOptions& options);

    EncodedStream stream_;
    Rational rate_;
    FramePtr frame_;
    int64_t next_, end_;
};

} // namespace kestrova::mediagen
