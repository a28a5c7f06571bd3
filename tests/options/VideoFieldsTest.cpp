// The video fields of the output record, from the items chosen for the video parameters and
// the source's video stream.
#include "ChoicesFixture.h"

namespace kestrova::test {
namespace {

using VideoFieldsTest = ChoicesTest;

struct TTextCase {
    TParameter Parameter;
    std::optional<const char*> Item;
    std::string TOutputOptions::*Field;
    const char* Expected;
};

TEST_F(VideoFieldsTest, TextsFollowTheirItemsAndAutoTakesTheSource) {
    // The source is 640x360 at 30000/1001 frames per second.
    const TTextCase cases[] = {
            {TParameter::VideoSize, "Auto - Original", &TOutputOptions::FrameSize, "640x360"},
            {TParameter::VideoSize, "Original", &TOutputOptions::FrameSize, "640x360"},
            {TParameter::VideoSize, "ORIGINAL - as it is", &TOutputOptions::FrameSize, "640x360"},
            {TParameter::VideoSize, "Auto", &TOutputOptions::FrameSize, "640x360"},
            {TParameter::VideoSize, "auto", &TOutputOptions::FrameSize,
             "auto"},  // "Auto" is compared exactly
            {TParameter::VideoSize, "320x240 - qvga", &TOutputOptions::FrameSize, "320x240"},
            {TParameter::VideoSize, "720x480", &TOutputOptions::FrameSize, "720x480"},
            {TParameter::VideoSize, " 320x240 - qvga", &TOutputOptions::FrameSize, " 320x240"},
            {TParameter::VideoSize, "", &TOutputOptions::FrameSize, ""},
            {TParameter::VideoSize, std::nullopt, &TOutputOptions::FrameSize, ""},

            {TParameter::FrameRate, "Auto", &TOutputOptions::FrameRate, "30000/1001"},
            {TParameter::FrameRate, "Original", &TOutputOptions::FrameRate, "30000/1001"},
            {TParameter::FrameRate, "25", &TOutputOptions::FrameRate, "25"},
            {TParameter::FrameRate, "29.97", &TOutputOptions::FrameRate, "29.97"},
            {TParameter::FrameRate, "AUTO", &TOutputOptions::FrameRate, "AUTO"},
            {TParameter::FrameRate, std::nullopt, &TOutputOptions::FrameRate, ""},

            {TParameter::AspectRatio, "Auto", &TOutputOptions::AspectRatio, ""},
            {TParameter::AspectRatio, "Original", &TOutputOptions::AspectRatio, ""},
            {TParameter::AspectRatio, "4:3", &TOutputOptions::AspectRatio, "4:3"},
            {TParameter::AspectRatio, "16:9", &TOutputOptions::AspectRatio, "16:9"},
            {TParameter::AspectRatio, std::nullopt, &TOutputOptions::AspectRatio, ""},

            {TParameter::VideoCodec, "MPEG4", &TOutputOptions::VideoCodec, "mpeg4"},
            {TParameter::VideoCodec, std::nullopt, &TOutputOptions::VideoCodec, ""},
    };
    for (const TTextCase& c : cases) {
        SCOPED_TRACE(CaseName(c.Parameter, c.Item));
        EXPECT_EQ(BuildOutputOptions(With(c.Parameter, c.Item)).*c.Field, c.Expected);
    }
}

TEST_F(VideoFieldsTest, BitrateIsTheItemInKbpsAndZeroMeansTheSourcesRate) {
    // The source's video stream runs at 1234567 bit/s: 1234 kbit/s in whole units.
    const std::pair<std::optional<const char*>, int32_t> cases[] = {
            {"768", 768000},      {"768k", 768000}, {" 1500 kbps", 1500000},
            {"Auto", 1234000},    {"0", 1234000},   {"", 1234000},
            {"9999999", 1234000}, {"-5", -5000},    {std::nullopt, 1234567}};
    for (const auto& [item, bitrate] : cases) {
        SCOPED_TRACE(CaseName(TParameter::VideoBitrate, item));
        EXPECT_EQ(BuildOutputOptions(With(TParameter::VideoBitrate, item)).VideoBitrate, bitrate);
    }
}

TEST_F(VideoFieldsTest, Libx264GetsItsDefaultPreset) {
    const std::pair<const char*, const char*> cases[] = {
            {"libx264", "libx264-default"}, {"LibX264", "libx264-default"}, {"x264", ""}, {"mpeg4", ""}};
    for (const auto& [item, preset] : cases) {
        SCOPED_TRACE(item);
        EXPECT_EQ(BuildOutputOptions(With(TParameter::VideoCodec, item)).VideoPreset, preset);
    }
}

TEST_F(VideoFieldsTest, AutoValuesOfASourceWithoutVideoStayUnset) {
    Choices.Source.Video = TVideoStreamInfo{};
    Choices.Parameters[TParameter::VideoSize] = "Auto - Original";
    Choices.Parameters[TParameter::FrameRate] = "Auto";
    Choices.Parameters[TParameter::VideoBitrate] = "Auto";
    const TOutputOptions options = Build();
    EXPECT_EQ(options.FrameSize, "");
    EXPECT_EQ(options.FrameRate, "");
    EXPECT_EQ(options.VideoBitrate, 0);  // not applied by the engine: the encoder's own rate
}

struct TBandsCase {
    const char* Name;
    TCropPadChoices CropPad;
    std::array<int32_t, 8> Expected;  // crop top, bottom, left, right, pad top, bottom, left, right
};

TEST_F(VideoFieldsTest, CropAndPadBandsPassWhenTheirBoxIsChecked) {
    const TBands bands{2, 4, 6, 8};
    const TBandsCase cases[] = {
            {"nothing checked", {}, {-1, -1, -1, -1, -1, -1, -1, -1}},
            {"values without their box", {false, bands, false, bands}, {-1, -1, -1, -1, -1, -1, -1, -1}},
            {"crop", {true, bands, false, {}}, {2, 4, 6, 8, -1, -1, -1, -1}},
            {"pad", {false, {}, true, bands}, {-1, -1, -1, -1, 2, 4, 6, 8}},
            {"both, zeros", {true, {}, true, {}}, {0, 0, 0, 0, 0, 0, 0, 0}},
            {"negative bands", {true, {-2, 4, -6, 8}, true, {1, -1, 3, -3}}, {-1, 4, -1, 8, 1, -1, 3, -1}},
    };
    for (const TBandsCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Choices.CropPad = c.CropPad;
        const TOutputOptions o = Build();
        EXPECT_EQ((std::array<int32_t, 8>{o.CropTop, o.CropBottom, o.CropLeft, o.CropRight, o.PadTop,
                                          o.PadBottom, o.PadLeft, o.PadRight}),
                  c.Expected);
    }
}

}  // namespace
}  // namespace kestrova::test
