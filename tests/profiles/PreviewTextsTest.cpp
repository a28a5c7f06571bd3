// The preview's numbers and texts: the track scale for a duration, the time texts, and the
// source's frame rate and channels as the media information shows them.
#include "profiles/dialog/PreviewTexts.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

struct TScaleCase {
    int64_t Duration;
    TTrackScale Scale;
};

void PrintTo(const TScaleCase& scale, std::ostream* out) {
    *out << scale.Duration << " us";
}

class TrackScaleTest : public ::testing::TestWithParam<TScaleCase> {};

TEST_P(TrackScaleTest, KeepsTheBarWithinItsUnitLimit) {
    EXPECT_EQ(TrackScaleFor(GetParam().Duration), GetParam().Scale);
}

INSTANTIATE_TEST_SUITE_P(Durations, TrackScaleTest,
                         ::testing::Values(TScaleCase{5400000000, {1000000, 5400}},  // 90 minutes
                                           TScaleCase{10000000, {1000, 10000}},      // 10 seconds
                                           TScaleCase{327670, {10, 32767}},          // the limit itself
                                           TScaleCase{327680, {100, 3276}},          // just past it
                                           TScaleCase{0, {10, 0}}, TScaleCase{-1, {10, 0}}));

TEST(PreviewTexts, TimesAsSecondsAndAsHoursMinutesSeconds) {
    EXPECT_EQ(SecondsText(83500000), QStringLiteral("83.500"));
    EXPECT_EQ(SecondsText(999), QStringLiteral("0.000"));
    EXPECT_EQ(SecondsText(5400000000), QStringLiteral("5400.000"));
    EXPECT_EQ(HmsText(83900000), QStringLiteral("0:01:23"));
    EXPECT_EQ(HmsText(3605000000), QStringLiteral("1:00:05"));
    EXPECT_EQ(DurationText(20025000), QStringLiteral("0:00:20.025"));
}

TEST(PreviewTexts, FrameRatesAndChannelsAsTheInformationShowsThem) {
    const std::pair<std::pair<int, int>, const char*> rates[] = {
            {{30000, 1001}, "29.97"}, {{24000, 1001}, "23.98"}, {{25, 1}, "25"}, {{50, 2}, "25"},
            {{25, 2}, "12.5"},        {{-1, -1}, "N/A"},        {{25, 0}, "N/A"}};
    for (const auto& [rate, text] : rates)
        EXPECT_EQ(FrameRateText(rate.first, rate.second), QLatin1String(text))
                << rate.first << "/" << rate.second;
    const std::pair<int, const char*> channels[] = {{0, "Auto"}, {1, "Mono"}, {2, "Stereo"},
                                                    {6, "6"},    {3, "3"},    {-1, "N/A"}};
    for (const auto& [count, text] : channels) EXPECT_EQ(ChannelsText(count), QLatin1String(text)) << count;
}

TEST(PreviewTexts, TrackStepsAndTicksFollowTheMaximum) {
    const std::pair<int, int> lines[] = {{100, 1}, {101, 10}, {1000, 10}, {10000, 100}, {10001, 1000}};
    for (const auto& [maximum, line] : lines) EXPECT_EQ(TrackLineSize(maximum), line) << maximum;
    EXPECT_EQ(TrackTickInterval(10000, 312), 333);  // 30 ticks on a 312-pixel bar
    EXPECT_EQ(TrackTickInterval(10, 312), 1);
    EXPECT_EQ(TrackTickInterval(0, 312), 0);
}

}  // namespace
}  // namespace kestrova
