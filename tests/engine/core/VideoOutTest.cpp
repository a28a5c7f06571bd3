// The video output path through whole conversions of generated clips: scaling to another
// encoder, crop and pad, frame-rate changes that drop pictures, filter chains and
// deinterlacing. Each result is decoded again and its pictures read back (size, picture
// number of the generator's pattern, colour of a border pixel).
#include "engine/core/options/PadColour.h"
#include "tests/engine/core/PictureReadback.h"
#include "tests/engine/core/TranscodeTestSupport.h"

#include <filesystem>
#include <vector>

namespace kestrova::testing {
namespace {

using VideoOutTest = RunTest;

TEST_F(VideoOutTest, FlvReencodedToScaledH264KeepsEveryPicture) {
    const std::string input = RunClip("flv", 2.0, true, false);
    const std::string output = TestFolder() + "/scaled.mp4";
    Prepare(input, {{"vcodec", "libx264"}, {"s", "96x72"}}, output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;

    AVCodecID codec = AV_CODEC_ID_NONE;
    const std::vector<TDecodedPicture> pictures = DecodePictures(output, &codec);
    EXPECT_EQ(codec, AV_CODEC_ID_H264);
    ASSERT_EQ(pictures.size(), DecodePictures(input).size());
    for (const TDecodedPicture& picture : pictures) {
        ASSERT_EQ(picture.Width, 96);
        ASSERT_EQ(picture.Height, 72);
    }
    ExpectEveryPictureInOrder(pictures);
}

TEST_F(VideoOutTest, CropAndPadGiveTheCroppedSizePlusPadsInThePadColour) {
    const std::string input = RunClip("flv", 1.0, true, false);
    const std::string output = TestFolder() + "/framed.mp4";
    Prepare(input,
            {{"vcodec", "libx264"},
             {"croptop", "8"},
             {"cropbottom", "8"},
             {"cropleft", "16"},
             {"cropright", "16"},
             {"padtop", "16"},
             {"padbottom", "16"},
             {"padleft", "16"},
             {"padright", "16"},
             {"padcolor", "255"}},
            output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;

    const std::vector<TDecodedPicture> pictures = DecodePictures(output);
    ASSERT_EQ(pictures.size(), DecodePictures(input).size());
    const TYuvColour red = RgbToPadYuv(0xFF);
    for (const TDecodedPicture& picture : pictures) {
        ASSERT_EQ(picture.Width, 128 + 32);
        ASSERT_EQ(picture.Height, 104 + 32);
        ASSERT_NEAR(picture.CornerY, red[0], 6);
        ASSERT_NEAR(picture.CornerU, red[1], 6);
        ASSERT_NEAR(picture.CornerV, red[2], 6);
    }
}

TEST_F(VideoOutTest, LowerFrameRateDropsPicturesAndKeepsTheRestInOrder) {
    const std::string input = RunClip("flv", 2.0, true, false);
    const std::string output = TestFolder() + "/twelve.mp4";
    Prepare(input, {{"vcodec", "libx264"}, {"r", "12"}}, output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;

    const std::vector<TDecodedPicture> pictures = DecodePictures(output);
    const size_t source = DecodePictures(input).size();
    EXPECT_NEAR(static_cast<double>(pictures.size()), static_cast<double>(source) * 12 / 25, 3);
    EXPECT_EQ(job.Statistics().DropFrames, static_cast<int>(source - pictures.size()));
    for (size_t i = 1; i < pictures.size(); ++i) {
        ASSERT_GT(pictures[i].Number, pictures[i - 1].Number) << "picture " << i;
        // About every second picture is kept: no gap of three or more.
        ASSERT_LE(pictures[i].Number - pictures[i - 1].Number, 3) << "picture " << i;
    }
}

TEST_F(VideoOutTest, HigherFrameRateRepeatsPictures) {
    const std::string input = RunClip("flv", 2.0, true, false);
    const std::string output = TestFolder() + "/thirty.mp4";
    Prepare(input, {{"vcodec", "libx264"}, {"r", "30"}}, output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    const std::vector<TDecodedPicture> pictures = DecodePictures(output);
    const size_t source = DecodePictures(input).size();
    EXPECT_NEAR(static_cast<double>(pictures.size()), static_cast<double>(source) * 30 / 25, 3);
    EXPECT_EQ(job.Statistics().DupFrames, static_cast<int>(pictures.size() - source));
}

TEST_F(VideoOutTest, FilterChainScalesAndFlipsEveryPicture) {
    const std::string input = RunClip("flv", 1.0, true, false);
    const std::string output = TestFolder() + "/filtered.mp4";
    Prepare(input, {{"vcodec", "libx264"}, {"vfilters", "scale=80:60,hflip"}}, output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;

    const std::vector<TDecodedPicture> pictures = DecodePictures(output);
    ASSERT_EQ(pictures.size(), DecodePictures(input).size());
    for (size_t i = 0; i < pictures.size(); ++i) {
        ASSERT_EQ(pictures[i].Width, 80);
        ASSERT_EQ(pictures[i].Height, 60);
        ASSERT_EQ(pictures[i].MirroredNumber, static_cast<int>(i)) << "picture " << i;
    }
}

// A filter that holds pictures until the end of its input gives them up when the input ends.
TEST_F(VideoOutTest, PicturesHeldByTheChainAreEncodedAtTheEnd) {
    const std::string input = RunClip("flv", 1.0, true, false);
    const std::string output = TestFolder() + "/padded_in_time.mp4";
    Prepare(input, {{"vcodec", "libx264"}, {"vfilters", "tpad=stop=5:stop_mode=clone"}}, output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    const std::vector<TDecodedPicture> pictures = DecodePictures(output);
    const size_t source = DecodePictures(input).size();
    ASSERT_EQ(pictures.size(), source + 5);
    EXPECT_EQ(pictures.back().Number, static_cast<int>(source) - 1);
}

// The frame size option scales before the chain runs; the chain then sees the encoder's size.
TEST_F(VideoOutTest, FrameSizeWithAFilterChainScalesFirst) {
    const std::string input = RunClip("flv", 1.0, true, false);
    const std::string output = TestFolder() + "/sized.mp4";
    Prepare(input, {{"vcodec", "libx264"}, {"s", "96x72"}, {"vfilters", "hflip"}}, output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    const std::vector<TDecodedPicture> pictures = DecodePictures(output);
    ASSERT_EQ(pictures.size(), DecodePictures(input).size());
    for (size_t i = 0; i < pictures.size(); ++i) {
        ASSERT_EQ(pictures[i].Width, 96);
        ASSERT_EQ(pictures[i].Height, 72);
        ASSERT_EQ(pictures[i].MirroredNumber, static_cast<int>(i)) << "picture " << i;
    }
}

// The frame suite's hook module fills the luma plane with its argument.
TEST_F(VideoOutTest, VideoHookChangesEveryEncodedPicture) {
    const std::string module =
            testmedia::BuildDir() + "/tests/engine/frame/hooks/kestrova_test_hook_complete.so";
    if (!std::filesystem::exists(module)) GTEST_SKIP() << "test hook module not built";
    const std::string input = RunClip("flv", 1.0, true, false);
    const std::string output = TestFolder() + "/hooked.mp4";
    Prepare(input, {{"vcodec", "libx264"}, {"vhook", module + "|200"}}, output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    const std::vector<TDecodedPicture> pictures = DecodePictures(output);
    ASSERT_EQ(pictures.size(), DecodePictures(input).size());
    for (const TDecodedPicture& picture : pictures) ASSERT_NEAR(picture.CornerY, 200, 3);
}

TEST_F(VideoOutTest, DeinterlacedConversionKeepsEveryPicture) {
    const std::string input = RunClip("flv", 1.0, true, false);
    const std::string output = TestFolder() + "/deinterlaced.mp4";
    Prepare(input, {{"vcodec", "libx264"}, {"deinterlace", "1"}}, output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    const std::vector<TDecodedPicture> pictures = DecodePictures(output);
    ASSERT_EQ(pictures.size(), DecodePictures(input).size());
    ExpectEveryPictureInOrder(pictures);
}

struct TRetimingChainCase {
    const char* Name;
    const char* Chain;
    int Repeated;  // pictures the constant 25 fps output repeats (the chain gives fewer)
    int Dropped;   // and drops (the chain gives more)
};

class RetimingChainTest : public RunTest, public ::testing::WithParamInterface<TRetimingChainCase> {};

// A chain that changes the time base or the rate gives pictures timed in its own clock.
TEST_P(RetimingChainTest, PicturesKeepTheirTimesThroughTheChain) {
    const TRetimingChainCase& chain = GetParam();
    const std::string input = RunClip("flv", 2.0, true, false);
    const std::string output = TestFolder() + "/retimed.mp4";
    Prepare(input, {{"vcodec", "mpeg4"}, {"vfilters", chain.Chain}}, output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    const TProbedFile probe = ProbeFile(output);
    const TProbedStream* video = probe.First(AVMEDIA_TYPE_VIDEO);
    ASSERT_NE(video, nullptr);
    EXPECT_NEAR(video->Packets, 50, 3);
    EXPECT_NEAR(video->Duration(), 2.0, 0.2);
    EXPECT_NEAR(job.Statistics().DupFrames, chain.Repeated, 3);
    EXPECT_NEAR(job.Statistics().DropFrames, chain.Dropped, 3);
}

INSTANTIATE_TEST_SUITE_P(Cases, RetimingChainTest,
                         ::testing::Values(TRetimingChainCase{"LowerRate", "fps=12", 24, 0},
                                           TRetimingChainCase{"HigherRate", "fps=50", 0, 50},
                                           TRetimingChainCase{"OtherTimeBase", "settb=1/25", 0, 0}),
                         [](const ::testing::TestParamInfo<TRetimingChainCase>& info) {
                             return info.param.Name;
                         });

// JPEG encoders take full-range pictures: a limited-range source is converted, not refused.
TEST_F(VideoOutTest, MotionJpegTakesALimitedRangeSource) {
    const std::string input = RunClip("flv", 1.0, true, false);
    const std::string output = TestFolder() + "/photo.avi";
    Prepare(input, {{"vcodec", "mjpeg"}}, output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    const std::vector<TDecodedPicture> pictures = DecodePictures(output);
    ASSERT_EQ(pictures.size(), 25u);
    ExpectEveryPictureInOrder(pictures);
}

}  // namespace
}  // namespace kestrova::testing
