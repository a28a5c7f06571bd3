#pragma once
// What the media probe reports of a file and of its audio and video streams. Numbers are -1
// when the file does not give them.
#include <cstdint>
#include <string>

namespace kestrova {

struct TFileStreamInfo {
    int64_t StartTime = -1;  // microseconds
    int64_t Duration = -1;   // microseconds
    int32_t BitRate = -1;    // bit/s
    int64_t Timestamp = -1;  // the container's creation time, Unix seconds
    int32_t Year = -1;
    int32_t Track = -1;
    std::string Title, Author, Copyright, Comment, Album, Genre;
};

struct TAudioStreamInfo {
    std::string Language;
    std::string CodecName;
    int64_t StartTime = -1;  // stream time base
    int64_t StartTimeUS = -1;
    int64_t Duration = -1;  // stream time base
    int64_t DurationUS = -1;
    int32_t BitRate = -1;
    int32_t Channels = -1;
    int32_t SampleRate = -1;
    int32_t SampleFormat = -1;  // the library's sample format number
};

struct TVideoStreamInfo {
    std::string Language;
    std::string CodecName;
    int64_t StartTime = -1;
    int64_t StartTimeUS = -1;
    int64_t Duration = -1;
    int64_t DurationUS = -1;
    int32_t BitRate = -1;
    int32_t Height = -1;
    int32_t Width = -1;
    float AspectRatio = -1;    // display aspect: sample aspect x width / height
    int32_t PixelFormat = -1;  // the library's pixel format number
    int32_t FrameRateNum = -1;
    int32_t FrameRateDen = -1;
};

}  // namespace kestrova
