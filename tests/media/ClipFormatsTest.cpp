// Every format of the generator opens with the libraries and has the streams, duration, size,
// rates and channels it was asked for.
#include "tests/media/MediaInspect.h"
#include "tests/support/TestMedia.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kestrova::mediatest {
namespace {

using testmedia::Clip;
using testmedia::ClipSpec;

struct TFormatCase {
    std::string Format;
    AVCodecID Video;  // AV_CODEC_ID_NONE for audio-only formats
    AVCodecID Audio;
    std::string Demuxer;
};

void PrintTo(const TFormatCase& c, std::ostream* os) {
    *os << c.Format;
}

// The formats with video come first.
const TFormatCase kFormatCases[] = {
        {"flv", AV_CODEC_ID_FLV1, AV_CODEC_ID_MP3, "flv"},
        {"f4v", AV_CODEC_ID_H264, AV_CODEC_ID_AAC, "mov,mp4,m4a,3gp,3g2,mj2"},
        {"mp4", AV_CODEC_ID_H264, AV_CODEC_ID_AAC, "mov,mp4,m4a,3gp,3g2,mj2"},
        {"mp4-mpeg4", AV_CODEC_ID_MPEG4, AV_CODEC_ID_AAC, "mov,mp4,m4a,3gp,3g2,mj2"},
        {"mp3", AV_CODEC_ID_NONE, AV_CODEC_ID_MP3, "mp3"},
        {"wma", AV_CODEC_ID_NONE, AV_CODEC_ID_WMAV2, "asf"},
        {"wav", AV_CODEC_ID_NONE, AV_CODEC_ID_PCM_S16LE, "wav"},
};

std::string CaseName(const testing::TestParamInfo<TFormatCase>& info) {
    std::string name = info.param.Format;
    for (char& c : name)
        if (c == '-') c = '_';
    return name;
}

// Two sets of parameters per format: the defaults, and odd ones (small picture, NTSC rate,
// low sample rate, mono).
ClipSpec DefaultSpec(const std::string& format) {
    ClipSpec spec;
    spec.format = format;
    return spec;
}

ClipSpec OddSpec(const std::string& format) {
    ClipSpec spec;
    spec.format = format;
    spec.duration = 1.5;
    spec.width = 176;
    spec.height = 144;
    spec.rate = "30000/1001";
    spec.sampleRate = 22050;
    spec.channels = 1;
    return spec;
}

class ClipFormats : public testing::TestWithParam<TFormatCase> {
protected:
    bool HasVideo() const { return GetParam().Video != AV_CODEC_ID_NONE; }

    // Samples per frame of the audio encoder at a rate (0 for PCM, which has no frames).
    int AudioFrameSize(int sampleRate) const {
        switch (GetParam().Audio) {
            case AV_CODEC_ID_MP3:
                return sampleRate >= 32000 ? 1152 : 576;
            case AV_CODEC_ID_AAC:
                return 1024;
            case AV_CODEC_ID_WMAV2:
                return sampleRate <= 16000 ? 512 : sampleRate <= 22050 ? 1024 : 2048;
            default:
                return 0;
        }
    }

    // Allowed difference of the duration: one frame of each stream. Lossy audio encoders work
    // in whole frames and prime their output, which a container without edit lists shows.
    double Tolerance(const ClipSpec& spec) const {
        const double video = HasVideo() ? av_q2d(av_inv_q(FrameRate(spec))) : 0.0;
        return video + static_cast<double>(AudioFrameSize(spec.sampleRate)) / spec.sampleRate + 1e-6;
    }

    static AVRational FrameRate(const ClipSpec& spec) {
        AVRational rate{};
        EXPECT_GE(av_parse_video_rate(&rate, spec.rate.c_str()), 0);
        return rate;
    }

    void ExpectMatches(const ClipSpec& spec) {
        const std::string path = Clip(spec);
        int error = 0;
        InputPtr input = OpenMedia(path, &error);
        ASSERT_TRUE(input) << path << ": " << ErrorText(error);
        EXPECT_EQ(input->iformat->name, GetParam().Demuxer);
        ASSERT_EQ(input->nb_streams, HasVideo() ? 2u : 1u);

        const AVStream* audio = FindStream(input.get(), AVMEDIA_TYPE_AUDIO);
        ASSERT_NE(audio, nullptr);
        EXPECT_EQ(audio->codecpar->codec_id, GetParam().Audio);
        EXPECT_EQ(audio->codecpar->sample_rate, spec.sampleRate);
        EXPECT_EQ(audio->codecpar->ch_layout.nb_channels, spec.channels);

        if (HasVideo()) {
            const AVStream* video = FindStream(input.get(), AVMEDIA_TYPE_VIDEO);
            ASSERT_NE(video, nullptr);
            EXPECT_EQ(video->codecpar->codec_id, GetParam().Video);
            EXPECT_EQ(video->codecpar->width, spec.width);
            EXPECT_EQ(video->codecpar->height, spec.height);
            // FLV keeps milliseconds, so 30000/1001 comes back as a close fraction.
            EXPECT_NEAR(av_q2d(video->avg_frame_rate), av_q2d(FrameRate(spec)), 0.01)
                    << video->avg_frame_rate.num << "/" << video->avg_frame_rate.den;
        }

        // The span of the timeline: containers without edit lists start it a little late.
        ASSERT_NE(input->duration, AV_NOPTS_VALUE);
        const int64_t start = input->start_time == AV_NOPTS_VALUE ? 0 : input->start_time;
        const double span = static_cast<double>(input->duration - start) / AV_TIME_BASE;
        EXPECT_NEAR(span, spec.duration, Tolerance(spec));
    }
};

TEST_P(ClipFormats, DefaultParametersShowInTheFile) {
    ExpectMatches(DefaultSpec(GetParam().Format));
}

TEST_P(ClipFormats, OddParametersShowInTheFile) {
    ExpectMatches(OddSpec(GetParam().Format));
}

class VideoClipFormats : public ClipFormats {};

TEST_P(VideoClipFormats, PicturesDecodeInOrderWithTheirNumbers) {
    for (const ClipSpec& spec : {DefaultSpec(GetParam().Format), OddSpec(GetParam().Format)}) {
        int error = 0;
        InputPtr input = OpenMedia(Clip(spec), &error);
        ASSERT_TRUE(input) << ErrorText(error);
        const TDecodedMedia decoded = DecodeAll(input.get());
        EXPECT_EQ(decoded.DecodeErrors, 0);
        const int frames = static_cast<int>(std::lround(spec.duration * av_q2d(FrameRate(spec))));
        ASSERT_EQ(decoded.FrameNumbers.size(), static_cast<size_t>(frames)) << spec.rate;
        for (int n = 0; n < frames; ++n) EXPECT_EQ(decoded.FrameNumbers[n], n) << "frame " << n;
    }
}

TEST_P(ClipFormats, EachChannelCarriesItsTone) {
    ClipSpec spec = DefaultSpec(GetParam().Format);
    for (const int channels : {1, 2}) {
        spec.channels = channels;
        int error = 0;
        InputPtr input = OpenMedia(Clip(spec), &error);
        ASSERT_TRUE(input) << ErrorText(error);
        const TDecodedMedia decoded = DecodeAll(input.get());
        EXPECT_EQ(decoded.DecodeErrors, 0);
        ASSERT_EQ(decoded.Channels.size(), static_cast<size_t>(channels));
        const auto expected = static_cast<size_t>(spec.duration * spec.sampleRate);
        for (int c = 0; c < channels; ++c) {
            const std::vector<float>& samples = decoded.Channels[c];
            // Lossy codecs add priming and pad the last frame: right to within two codec frames.
            EXPECT_NEAR(static_cast<double>(samples.size()), static_cast<double>(expected),
                        2.0 * AudioFrameSize(spec.sampleRate));
            // The middle of the clip, away from the codecs' start-up and end.
            const size_t skip = samples.size() / 10;
            const double hz = testmedia::EstimateFrequency(samples.data() + skip, samples.size() - 2 * skip,
                                                           spec.sampleRate);
            EXPECT_NEAR(hz, testmedia::ToneFrequency(c), testmedia::ToneFrequency(c) * 0.005)
                    << "channel " << c;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllFormats, ClipFormats, testing::ValuesIn(kFormatCases), CaseName);
INSTANTIATE_TEST_SUITE_P(VideoFormats, VideoClipFormats,
                         testing::ValuesIn(std::begin(kFormatCases), std::begin(kFormatCases) + 4), CaseName);

}  // namespace
}  // namespace kestrova::mediatest
