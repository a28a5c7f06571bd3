// The container of the output record: the profile's format, the target profiles that replace
// it, audio-only targets, and the fields that are the same for every row.
#include "ChoicesFixture.h"

namespace kestrova::test {
namespace {

using ContainerTest = ChoicesTest;

struct TContainerCase {
    const char* Format;
    const char* TargetProfile;
    const char* Extension;
    bool ProfileAudioOnly;  // `disablevideo`
    const char* ExpectedFormat;
    bool ExpectedDisableVideo;
};

TEST_F(ContainerTest, FormatTargetProfileAndAudioOnly) {
    const TContainerCase cases[] = {
            {"mp4", "", "mp4", false, "mp4", false},
            {"mp4", "none", "m4v", false, "mp4", false},  // .m4v is not in the audio list
            {"mp3", "", "mp3", false, "mp3", true},       // the extension decides, not only the profile
            {"mp3", "", "MP3", false, "mp3", true},
            {"wav", "", "wav", false, "wav", true},
            {"ape", "", "ape", false, "ape", true},
            {"mpeg", "", "mp", false, "mpeg", true},  // a part of ".mp2"/".mp3" counts
            {"flv", "", "fla", false, "flv", true},   // a part of ".flac"
            {"avi", "", "avi", true, "avi", true},
            {"mp4", "psp", "mp4", false, "psp", false},
            {"mp4", "PSP", "mp4", false, "mp4", false},  // exact names only
            {"mp4", "ipod", "mp4", false, "ipod", false},
            {"mp4", "iPod", "mp4", false, "mp4", false},
            {"mp4", " ipod", "mp4", false, "mp4", false},
            {"", "", "mp4", false, "", false},
    };
    for (const TContainerCase& c : cases) {
        SCOPED_TRACE(std::string(c.Format) + " / " + c.TargetProfile + " / ." + c.Extension);
        Choices.ProfileFormat = c.Format;
        Choices.TargetProfile = c.TargetProfile;
        Choices.Extension = c.Extension;
        Choices.AudioOnlyTarget = c.ProfileAudioOnly;
        const TOutputOptions options = Build();
        EXPECT_EQ(options.FileFormat, c.ExpectedFormat);
        EXPECT_EQ(options.DisableVideo, c.ExpectedDisableVideo);
        EXPECT_EQ(IsAudioOnlyTarget(Choices), c.ExpectedDisableVideo);
    }
}

TEST_F(ContainerTest, UntouchedChoicesGiveAPlainRecord) {
    const TOutputOptions options = Build();
    EXPECT_TRUE(options.DisableSubtitle);
    EXPECT_EQ(options.ExtOptions, "");
    EXPECT_EQ(options.VideoFilters, "");
    EXPECT_FALSE(options.CustomHook);
    EXPECT_FALSE(options.CopyTimestamps);
    EXPECT_EQ(options.Duration, kNoHostTime);
    EXPECT_EQ(options.Target, 0);
    EXPECT_EQ(options.TargetNorm, 0);
    // Every field a row does not choose keeps the record's own default.
    TOutputOptions defaults;
    EXPECT_EQ(options.StartTime, defaults.StartTime);
    EXPECT_EQ(options.GopSize, defaults.GopSize);
    EXPECT_EQ(options.PadColor, defaults.PadColor);
    EXPECT_EQ(options.Metadata.Timestamp, defaults.Metadata.Timestamp);
}

TEST_F(ContainerTest, CopyTimestampsAreCarriedAndTheNormNamesADiscTarget) {
    const std::pair<const char*, int32_t> targets[] = {{"vcd", 1}, {"svcd", 2}, {"dvd", 3}, {"mp4", 0}};
    Choices.Norm = Choices.ProfileNorm = TNorm::Ntsc;
    Choices.CopyTimestamps = true;
    for (const auto& [format, target] : targets) {
        Choices.ProfileFormat = QLatin1String(format);
        const TOutputOptions options = Build();
        EXPECT_EQ(options.Target, target) << format;
        EXPECT_EQ(options.TargetNorm, target ? 2 : 0) << format;
        EXPECT_TRUE(options.CopyTimestamps);
    }
}

}  // namespace
}  // namespace kestrova::test
