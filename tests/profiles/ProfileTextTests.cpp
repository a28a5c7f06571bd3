// Text rules of profile entries and value lists.
#include "profiles/store/ProfileEntry.h"
#include "profiles/store/TypedFileName.h"
#include "profiles/store/ValueList.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

TEST(ProfileNameTest, StemAndTailSplitAtTheFirstBracket)
{
    EXPECT_EQ(ProfileNameStem("MPEG-4 Video(*.mp4)"), "MPEG-4 Video");
    EXPECT_EQ(ProfileNameTail("MPEG-4 Video(*.mp4)"), "(*.mp4)");
    EXPECT_EQ(ProfileNameStem("A (b)(*.avi)"), "A ");
    EXPECT_EQ(ProfileNameTail("A (b)(*.avi)"), "(b)(*.avi)");
}

TEST(ProfileNameTest, NameWithoutBracketIsAllStemAndNoTail)
{
    EXPECT_EQ(ProfileNameStem("Plain"), "Plain");
    EXPECT_EQ(ProfileNameTail("Plain"), "");
}

TEST(DescriptionTextTest, EveryLineBreakMarkBecomesCrLfInAnyCase)
{
    EXPECT_EQ(DescriptionText("one #13#10 two#13#10three"), "one \r\n two\r\nthree");
    EXPECT_EQ(DescriptionText("a#13#10b"), "a\r\nb");
    EXPECT_EQ(DescriptionText("no marks"), "no marks");
    EXPECT_EQ(DescriptionText("#13#1"), "#13#1");
}

TEST(SplitValuesTest, KeepsEmptyItemsAndBlanks)
{
    EXPECT_EQ(SplitValues("a,,b"), QStringList({"a", "", "b"}));
    EXPECT_EQ(SplitValues(" 320x240 - qvga,Auto "), QStringList({" 320x240 - qvga", "Auto "}));
    EXPECT_EQ(SplitValues("a,"), QStringList({"a", ""}));
}

TEST(SplitValuesTest, EmptyTextGivesOneEmptyItem)
{
    EXPECT_EQ(SplitValues(""), QStringList({""}));
    EXPECT_EQ(SplitValues(QString()), QStringList({""}));
}

TEST(TypedFileNameTest, XmlExtensionIsAddedUnlessPresentInAnyCase)
{
    QString error;
    EXPECT_EQ(ProfileFileNameFromTyped("phone", error), "phone.xml");
    EXPECT_EQ(ProfileFileNameFromTyped("phone.XML", error), "phone.XML");
    EXPECT_EQ(ProfileFileNameFromTyped("phone.txt", error), "phone.txt.xml");
    EXPECT_EQ(ProfileFileNameFromTyped("  phone  ", error), "phone.xml");
    EXPECT_TRUE(error.isEmpty());
}

TEST(TypedFileNameTest, BlankTextIsACancelWithoutError)
{
    QString error;
    EXPECT_FALSE(ProfileFileNameFromTyped("   ", error));
    EXPECT_FALSE(ProfileFileNameFromTyped("", error));
    EXPECT_TRUE(error.isEmpty());
}

TEST(TypedFileNameTest, NamesLeavingTheUserFolderAreRefused)
{
    QString error;
    EXPECT_FALSE(ProfileFileNameFromTyped("../mp4", error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(ProfileFileNameFromTyped("sub\\x", error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(TypedFileNameTest, StemSeparatorsBecomeUnderscores)
{
    EXPECT_EQ(FileNameFromStem("CD/VCD\\DVD"), "CD_VCD_DVD");
}

} // namespace
} // namespace kestrova
