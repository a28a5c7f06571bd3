#pragma once
// Reading a result's pictures back: each decoded picture's size, the generator's picture number
// (also read mirrored) and the colour of its top left pixel.
#include "engine/frame/LibBindings.h"
#include "engine/frame/LibPtr.h"
#include "tests/engine/core/StreamDecode.h"
#include "tests/support/TestMedia.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrova::testing {

struct TDecodedPicture {
    int Width = 0, Height = 0;
    int Number = -1;                            // the generator's picture number, -1 when unreadable
    int MirroredNumber = -1;                    // the same, read from the picture flipped left to right
    int CornerY = 0, CornerU = 0, CornerV = 0;  // colour at the top left pixel
};

inline int ReadMirrored(const AVFrame& frame) {
    std::vector<uint8_t> mirrored(static_cast<size_t>(frame.width) * frame.height);
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x)
            mirrored[static_cast<size_t>(y) * frame.width + x] =
                    frame.data[0][static_cast<ptrdiff_t>(y) * frame.linesize[0] + frame.width - 1 - x];
    return testmedia::FrameNumberFromPicture(mirrored.data(), frame.width, frame.width, frame.height);
}

inline TDecodedPicture DescribePicture(const AVFrame& frame) {
    TDecodedPicture picture;
    picture.Width = frame.width;
    picture.Height = frame.height;
    picture.Number =
            testmedia::FrameNumberFromPicture(frame.data[0], frame.linesize[0], frame.width, frame.height);
    picture.MirroredNumber = ReadMirrored(frame);
    picture.CornerY = frame.data[0][frame.linesize[0] + 1];
    if (frame.data[1] && frame.data[2]) {
        picture.CornerU = frame.data[1][frame.linesize[1] + 1];
        picture.CornerV = frame.data[2][frame.linesize[2] + 1];
    }
    return picture;
}

// Every picture of the file's first video stream, decoded; empty when it cannot be read.
inline std::vector<TDecodedPicture> DecodePictures(const std::string& path, AVCodecID* codec = nullptr) {
    std::vector<TDecodedPicture> pictures;
    AVFormatContext* raw = nullptr;
    if (ff::avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0) return pictures;
    InputFormatPtr input(raw);
    if (ff::avformat_find_stream_info(raw, nullptr) < 0) return pictures;
    int index = -1;
    for (unsigned i = 0; i < raw->nb_streams && index < 0; ++i)
        if (raw->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) index = static_cast<int>(i);
    if (index < 0) return pictures;
    const AVCodecParameters& parameters = *raw->streams[index]->codecpar;
    if (codec) *codec = parameters.codec_id;
    CodecContextPtr decoder(ff::avcodec_alloc_context3(ff::avcodec_find_decoder(parameters.codec_id)));
    if (!decoder || ff::avcodec_parameters_to_context(decoder.get(), &parameters) < 0 ||
        ff::avcodec_open2(decoder.get(), ff::avcodec_find_decoder(parameters.codec_id), nullptr) < 0)
        return pictures;
    DecodeStream(*raw, index, *decoder,
                 [&](const AVFrame& frame) { pictures.push_back(DescribePicture(frame)); });
    return pictures;
}

// The picture numbers run 0, 1, 2, ... without a gap.
inline void ExpectEveryPictureInOrder(const std::vector<TDecodedPicture>& pictures) {
    for (size_t i = 0; i < pictures.size(); ++i)
        ASSERT_EQ(pictures[i].Number, static_cast<int>(i)) << "picture " << i;
}

}  // namespace kestrova::testing
