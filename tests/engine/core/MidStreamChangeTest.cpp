// Inputs whose sound or picture size changes in the middle of the stream: the converter is made
// again for the new sound, and a size change is followed (crop bands first) or refused, with or
// without a filter chain.
#include "tests/engine/core/PictureReadback.h"
#include "tests/engine/core/TranscodeTestSupport.h"

namespace kestrova::testing {
namespace {

// A 2 s clip whose second half has another sound or picture size.
std::string ChangingClip(const std::string& format, int changeWidth, int changeSampleRate,
                         int changeChannels) {
    testmedia::ClipSpec spec;
    spec.format = format;
    spec.duration = 2.0;
    spec.width = 160;
    spec.height = 120;
    spec.audio = changeSampleRate > 0 || changeChannels > 0;
    spec.changeWidth = changeWidth;
    spec.changeHeight = changeWidth * 3 / 4;
    spec.changeSampleRate = changeSampleRate;
    spec.changeChannels = changeChannels;
    return testmedia::Clip(spec);
}

struct TSoundChangeCase {
    const char* Name;
    const char* Format;  // of the input
    const char* Output;  // file name: its extension chooses the encoder
};

class SoundChangeTest : public RunTest, public ::testing::WithParamInterface<TSoundChangeCase> {};

// 44.1 kHz stereo, then 22.05 kHz mono: every second of it is converted.
TEST_P(SoundChangeTest, TheWholeSoundIsConvertedAfterTheChange) {
    const TSoundChangeCase& change = GetParam();
    const std::string input = ChangingClip(change.Format, 0, 22050, 1);
    const std::string output = TestFolder() + "/" + change.Output;
    Prepare(input, {{"vn", "1"}}, output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    const TProbedFile probe = ProbeFile(output);
    ASSERT_TRUE(probe.Opened);
    const TProbedStream* audio = probe.First(AVMEDIA_TYPE_AUDIO);
    ASSERT_NE(audio, nullptr);
    // An MP3 result carries its encoder's delay and padding on top.
    EXPECT_GT(audio->Duration(), 1.9);
    EXPECT_LT(audio->Duration(), 2.25);
    EXPECT_TRUE(LoggedContaining("audio changed to 22050 Hz, 1 channels"));
}

INSTANTIATE_TEST_SUITE_P(Cases, SoundChangeTest,
                         ::testing::Values(TSoundChangeCase{"Mp3ToPcm", "mp3", "sound.wav"},
                                           TSoundChangeCase{"Mp3ToMp3", "mp3", "sound.mp3"},
                                           TSoundChangeCase{"TransportStreamToPcm", "ts", "sound.wav"}),
                         [](const ::testing::TestParamInfo<TSoundChangeCase>& info) {
                             return info.param.Name;
                         });

using PictureSizeChangeTest = RunTest;

// 160x120, then 96x72. The bands follow the new size before the picture is cropped: every
// picture shows the same part of the generator's pattern (the colour of its top left corner
// stays), none is read from past the picture.
TEST_F(PictureSizeChangeTest, CroppedPicturesFollowTheNewSize) {
    const std::string input = ChangingClip("ts", 96, 0, 0);
    const std::string output = TestFolder() + "/cropped.mp4";
    Prepare(input, {{"vcodec", "mpeg4"}, {"croptop", "80"}, {"s", "80x20"}}, output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    const std::vector<TDecodedPicture> pictures = DecodePictures(output);
    ASSERT_NEAR(static_cast<double>(pictures.size()), 50, 2);
    for (size_t i = 0; i < pictures.size(); ++i) {
        ASSERT_EQ(pictures[i].Width, 80);
        ASSERT_EQ(pictures[i].Height, 20);
        EXPECT_NEAR(pictures[i].CornerU, pictures[0].CornerU, 8) << "picture " << i;
        EXPECT_NEAR(pictures[i].CornerV, pictures[0].CornerV, 8) << "picture " << i;
    }
    EXPECT_TRUE(LoggedContaining("Input Stream #0.0 frame size changed to 96x72"));
}

struct TFilteredChangeCase {
    const char* Name;
    const char* FrameSize;  // "-s", empty for none: the stream then keeps the first size only
    bool Finishes;
};

class FilteredSizeChangeTest : public RunTest, public ::testing::WithParamInterface<TFilteredChangeCase> {};

TEST_P(FilteredSizeChangeTest, AChainFollowsTheChangeOnlyWhenTheStreamScales) {
    const TFilteredChangeCase& change = GetParam();
    const std::string input = ChangingClip("ts", 96, 0, 0);
    const std::string output = TestFolder() + "/filtered.mp4";
    std::vector<std::pair<std::string, std::string>> options = {{"vcodec", "mpeg4"}, {"vfilters", "hflip"}};
    if (*change.FrameSize) options.emplace_back("s", change.FrameSize);
    Prepare(input, options, output);
    EXPECT_EQ(Run(), change.Finishes) << job.RunState().FailureText;
    EXPECT_TRUE(LoggedContaining("Input Stream #0.0 frame size changed to 96x72"));
    if (!change.Finishes) {
        EXPECT_NE(job.RunState().FailureText.find("frame size changed to 96x72"), std::string::npos)
                << job.RunState().FailureText;
        return;
    }
    const std::vector<TDecodedPicture> pictures = DecodePictures(output);
    EXPECT_NEAR(static_cast<double>(pictures.size()), 50, 2);
    for (const TDecodedPicture& picture : pictures) {
        ASSERT_EQ(picture.Width, 128);
        ASSERT_EQ(picture.Height, 96);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, FilteredSizeChangeTest,
                         ::testing::Values(TFilteredChangeCase{"WithoutScaling", "", false},
                                           TFilteredChangeCase{"ScaledToAFixedSize", "128x96", true}),
                         [](const ::testing::TestParamInfo<TFilteredChangeCase>& info) {
                             return info.param.Name;
                         });

}  // namespace
}  // namespace kestrova::testing
