// Text rules of profile entries and value lists.
#include "profiles/store/ProfileEntry.h"
#include "profiles/store/ValueList.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

TEST(ProfileNameTest, StemAndTailSplitAtTheFirstBracket) {
    EXPECT_EQ(ProfileNameStem("MPEG-4 Video(*.mp4)"), "MPEG-4 Video");
    EXPECT_EQ(ProfileNameTail("MPEG-4 Video(*.mp4)"), "(*.mp4)");
    EXPECT_EQ(ProfileNameStem("A (b)(*.avi)"), "A ");
    EXPECT_EQ(ProfileNameTail("A (b)(*.avi)"), "(b)(*.avi)");
}

TEST(DescriptionTextTest, EveryLineBreakMarkBecomesCrLfInAnyCase) {
    EXPECT_EQ(DescriptionText("one #13#10 two#13#10three"), "one \r\n two\r\nthree");
    EXPECT_EQ(DescriptionText("a#13#10b"), "a\r\nb");
    EXPECT_EQ(DescriptionText("no marks"), "no marks");
    EXPECT_EQ(DescriptionText("#13#1"), "#13#1");
}

TEST(SplitValuesTest, KeepsEmptyItemsAndBlanks) {
    EXPECT_EQ(SplitValues("a,,b"), QStringList({"a", "", "b"}));
    EXPECT_EQ(SplitValues(" 320x240 - qvga,Auto "), QStringList({" 320x240 - qvga", "Auto "}));
    EXPECT_EQ(SplitValues("a,"), QStringList({"a", ""}));
}

TEST(SplitValuesTest, EmptyTextGivesOneEmptyItem) {
    EXPECT_EQ(SplitValues(""), QStringList({""}));
    EXPECT_EQ(SplitValues(QString()), QStringList({""}));
}

}  // namespace
}  // namespace kestrova
