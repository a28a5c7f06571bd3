#pragma once
// Decodes the first audio stream of a file with the libraries: its shape, and the samples of its
// first channel as floats.
#include "engine/frame/LibBindings.h"
#include "engine/frame/LibPtr.h"
#include "tests/engine/core/StreamDecode.h"

#include <string>
#include <vector>

namespace kestrova::testing {

struct TDecodedAudio {
    bool Opened = false;
    int SampleRate = 0;
    int Channels = 0;
    std::vector<float> FirstChannel;

    double Seconds() const {
        return SampleRate > 0 ? static_cast<double>(FirstChannel.size()) / SampleRate : 0;
    }
};

inline float SampleAsFloat(const AVFrame& frame, int index) {
    const int channels = frame.ch_layout.nb_channels;
    switch (frame.format) {
        case AV_SAMPLE_FMT_FLTP:
            return reinterpret_cast<const float*>(frame.extended_data[0])[index];
        case AV_SAMPLE_FMT_FLT:
            return reinterpret_cast<const float*>(frame.extended_data[0])[index * channels];
        case AV_SAMPLE_FMT_S16P:
            return reinterpret_cast<const int16_t*>(frame.extended_data[0])[index] / 32768.0f;
        case AV_SAMPLE_FMT_S16:
            return reinterpret_cast<const int16_t*>(frame.extended_data[0])[index * channels] / 32768.0f;
        default:
            return 0;
    }
}

inline TDecodedAudio DecodeAudio(const std::string& path) {
    TDecodedAudio audio;
    AVFormatContext* raw = nullptr;
    if (ff::avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0) return audio;
    InputFormatPtr input(raw);
    if (ff::avformat_find_stream_info(raw, nullptr) < 0) return audio;
    const int index = ff::av_find_best_stream(raw, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (index < 0) return audio;
    const AVCodecParameters& parameters = *raw->streams[index]->codecpar;
    CodecContextPtr decoder(ff::avcodec_alloc_context3(ff::avcodec_find_decoder(parameters.codec_id)));
    if (!decoder || ff::avcodec_parameters_to_context(decoder.get(), &parameters) < 0 ||
        ff::avcodec_open2(decoder.get(), decoder->codec, nullptr) < 0)
        return audio;
    audio.Opened = true;
    DecodeStream(*raw, index, *decoder, [&](const AVFrame& frame) {
        audio.SampleRate = frame.sample_rate;
        audio.Channels = frame.ch_layout.nb_channels;
        for (int i = 0; i < frame.nb_samples; ++i) audio.FirstChannel.push_back(SampleAsFloat(frame, i));
    });
    return audio;
}

}  // namespace kestrova::testing
