// Clip variants: audio start offsets, single-stream clips and misleading file names.
#include "tests/media/MediaInspect.h"
#include "tests/support/TestMedia.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kestrova::mediatest {
namespace {

using testmedia::Clip;
using testmedia::ClipSpec;

InputPtr OpenClip(const ClipSpec& spec) {
    int error = 0;
    InputPtr input = OpenMedia(Clip(spec), &error);
    EXPECT_TRUE(input) << ErrorText(error);
    return input;
}

class AudioOffset : public testing::TestWithParam<std::string> {};

// Start of the audio against the start of the video. The encoders' priming (one AAC or MP3
// frame at most) and rounding to whole video frames move it a little.
constexpr double kOffsetTolerance = 1152.0 / 44100 + 1.0 / 25;

TEST_P(AudioOffset, LateAudioStartsAfterTheVideo) {
    ClipSpec spec;
    spec.format = GetParam();
    spec.audioOffset = 0.5;
    InputPtr input = OpenClip(spec);
    ASSERT_TRUE(input);
    const double video = StreamStart(FindStream(input.get(), AVMEDIA_TYPE_VIDEO));
    const double audio = StreamStart(FindStream(input.get(), AVMEDIA_TYPE_AUDIO));
    EXPECT_NEAR(audio - video, 0.5, kOffsetTolerance);

    const TDecodedMedia decoded = DecodeAll(input.get());
    ASSERT_FALSE(decoded.FrameNumbers.empty());
    EXPECT_EQ(decoded.FrameNumbers.front(), 0);
    EXPECT_EQ(decoded.FrameNumbers.size(), 50u);
    // The audio covers the rest of the two seconds.
    ASSERT_FALSE(decoded.Channels.empty());
    EXPECT_NEAR(static_cast<double>(decoded.Channels[0].size()) / spec.sampleRate, 1.5, 2 * 1152.0 / 44100);
}

TEST_P(AudioOffset, EarlyAudioStartsBeforeTheVideo) {
    ClipSpec spec;
    spec.format = GetParam();
    spec.audioOffset = -0.5;
    InputPtr input = OpenClip(spec);
    ASSERT_TRUE(input);
    const double video = StreamStart(FindStream(input.get(), AVMEDIA_TYPE_VIDEO));
    const double audio = StreamStart(FindStream(input.get(), AVMEDIA_TYPE_AUDIO));
    EXPECT_NEAR(video - audio, 0.5, kOffsetTolerance);

    // The pictures keep their place on the timeline: the first one shown is number 13 (0.52 s).
    const TDecodedMedia decoded = DecodeAll(input.get());
    ASSERT_EQ(decoded.FrameNumbers.size(), 37u);
    for (size_t i = 0; i < decoded.FrameNumbers.size(); ++i)
        EXPECT_EQ(decoded.FrameNumbers[i], 13 + static_cast<int>(i));
}

INSTANTIATE_TEST_SUITE_P(VideoFormats, AudioOffset, testing::Values("flv", "f4v", "mp4", "mp4-mpeg4"),
                         [](const testing::TestParamInfo<std::string>& info) {
                             return info.param == "mp4-mpeg4" ? std::string("mp4_mpeg4") : info.param;
                         });

TEST(ClipStreams, NoAudioLeavesOnlyTheVideo) {
    ClipSpec spec;
    spec.format = "flv";
    spec.audio = false;
    InputPtr input = OpenClip(spec);
    ASSERT_TRUE(input);
    ASSERT_EQ(input->nb_streams, 1u);
    EXPECT_EQ(input->streams[0]->codecpar->codec_type, AVMEDIA_TYPE_VIDEO);
    EXPECT_EQ(DecodeAll(input.get()).FrameNumbers.size(), 50u);
}

TEST(ClipStreams, NoVideoLeavesOnlyTheAudio) {
    ClipSpec spec;
    spec.format = "mp4";
    spec.video = false;
    InputPtr input = OpenClip(spec);
    ASSERT_TRUE(input);
    ASSERT_EQ(input->nb_streams, 1u);
    EXPECT_EQ(input->streams[0]->codecpar->codec_type, AVMEDIA_TYPE_AUDIO);
    EXPECT_NEAR(static_cast<double>(input->duration) / AV_TIME_BASE, 2.0, 1024.0 / 44100);
}

TEST(ClipStreams, ShorterThanAFrameStillHasAFrameOfEachStream) {
    ClipSpec spec;
    spec.format = "mp4";
    spec.duration = 0.001;
    InputPtr input = OpenClip(spec);
    ASSERT_TRUE(input);
    ASSERT_EQ(input->nb_streams, 2u);
    const TDecodedMedia decoded = DecodeAll(input.get());
    EXPECT_EQ(decoded.FrameNumbers, std::vector<int>{0});
    ASSERT_EQ(decoded.Channels.size(), 2u);
    EXPECT_FALSE(decoded.Channels[0].empty());
}

TEST(ClipStreams, MisleadingExtensionStillOpensAsItsRealFormat) {
    ClipSpec flvAsMp4;
    flvAsMp4.format = "flv";
    flvAsMp4.extension = "mp4";
    const std::string path = Clip(flvAsMp4);
    EXPECT_EQ(path.substr(path.size() - 4), ".mp4");
    InputPtr input = OpenClip(flvAsMp4);
    ASSERT_TRUE(input);
    EXPECT_STREQ(input->iformat->name, "flv");

    ClipSpec mp3AsWav;
    mp3AsWav.format = "mp3";
    mp3AsWav.extension = "wav";
    input = OpenClip(mp3AsWav);
    ASSERT_TRUE(input);
    EXPECT_STREQ(input->iformat->name, "mp3");
}

}  // namespace
}  // namespace kestrova::mediatest
