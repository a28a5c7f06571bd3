#pragma once
// What the media libraries see in a file: opening it, its streams, and a full decode that
// reads the picture code of every video frame and keeps the audio as float samples.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/parseutils.h>
}

#include <memory>
#include <string>
#include <vector>

namespace kestrova::mediatest {

struct InputClose {
    void operator()(AVFormatContext* p) const { avformat_close_input(&p); }
};
using InputPtr = std::unique_ptr<AVFormatContext, InputClose>;

// Opens a file and reads its stream information. On failure returns nullptr and the
// library's error code in *error (from opening, or from reading the stream information).
InputPtr OpenMedia(const std::string& path, int* error);

// The first stream of a kind, or nullptr.
const AVStream* FindStream(const AVFormatContext* input, AVMediaType type);

// Seconds of a stream's start (its first timestamp), or NaN when unknown.
double StreamStart(const AVStream* stream);

struct TDecodedMedia {
    std::vector<int> FrameNumbers;             // picture code of each decoded video frame, in output order
    std::vector<std::vector<float>> Channels;  // decoded audio, one vector per channel
    double FirstAudioTime = -1.0;              // seconds, timestamp of the first decoded audio frame
    int DecodeErrors = 0;                      // packets or frames the decoders refused
};

// Decodes every packet of the first video and first audio stream (frames and samples come out
// in presentation order). Streams whose decoder cannot open count as decode errors.
TDecodedMedia DecodeAll(AVFormatContext* input);

std::string ErrorText(int error);

}  // namespace kestrova::mediatest
