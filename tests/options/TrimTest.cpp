// Trimming: the marked part of the source becomes the input's start and the output's length.
#include "ChoicesFixture.h"

namespace kestrova::test {
namespace {

using TrimTest = ChoicesTest;

constexpr int64_t kSecond = 1'000'000;

struct TTrimCase {
    const char* Name;
    bool Checked;
    int64_t SelectionStart, SelectionEnd;
    int64_t SourceDuration;
    int64_t ExpectedStart, ExpectedDuration;  // kNoHostTime: not set
};

TEST_F(TrimTest, StartAndDurationOfTheSelection) {
    const int64_t none = kNoHostTime;
    const TTrimCase cases[] = {
            {"inside the source", true, 1 * kSecond, 5 * kSecond, 10 * kSecond, 1 * kSecond, 4 * kSecond},
            {"Cut Clip not checked", false, 1 * kSecond, 5 * kSecond, 10 * kSecond, none, none},
            {"nothing marked", true, 0, 0, 10 * kSecond, none, none},
            {"start after the end", true, 6 * kSecond, 5 * kSecond, 10 * kSecond, none, none},
            {"start at the end", true, 5 * kSecond, 5 * kSecond, 10 * kSecond, none, none},
            {"from the very start", true, 0, 3 * kSecond, 10 * kSecond, 0, 3 * kSecond},
            {"end past the source", true, 2 * kSecond, 12 * kSecond, 10 * kSecond, 2 * kSecond, 8 * kSecond},
            {"start past the source", true, 11 * kSecond, 12 * kSecond, 10 * kSecond, 0, 10 * kSecond},
            {"start at the source's end", true, 10 * kSecond, 12 * kSecond, 10 * kSecond, 0, 10 * kSecond},
            {"start before 0", true, -kSecond, 3 * kSecond, 10 * kSecond, 0, 3 * kSecond},
            {"unknown source length", true, 1 * kSecond, 3 * kSecond, -1, 1 * kSecond, 2 * kSecond},
    };
    for (const TTrimCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Choices.Trim = TTrimChoice{c.Checked, c.SelectionStart, c.SelectionEnd};
        Choices.Source.File.Duration = c.SourceDuration;
        EXPECT_EQ(Build().Duration, c.ExpectedDuration);
        const TInputOptions input = BuildInputOptions(Choices);
        EXPECT_EQ(input.StartTime, c.ExpectedStart);
    }
}

TEST_F(TrimTest, InputRecordNamesTheSourceAsTheProbeOpenedIt) {
    Choices.Source.FileName = "/media/видео/clip.flv";
    Choices.Source.FormatName = "flv";
    const TInputOptions input = BuildInputOptions(Choices);
    EXPECT_EQ(input.FileName, "/media/видео/clip.flv");
    EXPECT_EQ(input.FileFormat, "flv");
    EXPECT_EQ(input.ProgramID, -1);
    EXPECT_EQ(input.ExtOptions, "");
}

}  // namespace
}  // namespace kestrova::test
