// last.xml: where the picker stood when it was last used.
#include "tests/profiles/ProgramFolderFixture.h"

#include "profiles/store/IndexFiles.h"
#include "profiles/store/PickerPosition.h"

namespace kestrova::test {
namespace {

using PickerPositionTest = ProgramFolderTest;

const QByteArray kDefaultLast = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<main><Profile LeftIndex=\"1\" "
                                "RightIndex=\"0\"/></main>\n";

TEST_F(PickerPositionTest, MissingFileIsCreatedWithItsDefaultAndReadsAsUnset) {
    EXPECT_FALSE(LoadPickerPosition(Store().Paths()));
    EXPECT_EQ(ReadFile("profiles/last.xml"), kDefaultLast);
    // Next time it is there and gives its values.
    EXPECT_EQ(LoadPickerPosition(Store().Paths()), (TPickerPosition{1, 0}));
}

TEST_F(PickerPositionTest, ReadsTheFirstChildOfTheRoot) {
    WriteFile("profiles/last.xml",
              R"(<main><Profile LeftIndex="7" RightIndex="3"/><Other LeftIndex="9"/></main>)");
    EXPECT_EQ(LoadPickerPosition(Store().Paths()), (TPickerPosition{7, 3}));
}

TEST_F(PickerPositionTest, ValuesThatAreNotNumbersReadAsZero) {
    WriteFile("profiles/last.xml", R"(<main><Profile LeftIndex="x" RightIndex="0x10"/></main>)");
    EXPECT_EQ(LoadPickerPosition(Store().Paths()), (TPickerPosition{0, 0}));
    WriteFile("profiles/last.xml", "<main/>");
    EXPECT_EQ(LoadPickerPosition(Store().Paths()), (TPickerPosition{0, 0}));
}

TEST_F(PickerPositionTest, BrokenFileIsReplacedByTheDefault) {
    for (const QByteArray& content : {QByteArray("garbage"), QByteArray("")}) {
        WriteFile("profiles/last.xml", content);
        EXPECT_FALSE(LoadPickerPosition(Store().Paths()));
        EXPECT_EQ(ReadFile("profiles/last.xml"), kDefaultLast);
    }
}

TEST_F(PickerPositionTest, SaveWritesIntoTheFirstChildAndKeepsTheRest) {
    WriteFile(
            "profiles/last.xml",
            R"(<?xml version="1.0" encoding="utf-8"?><main><Profile LeftIndex="1" RightIndex="0" note="kept"/></main>)");
    ASSERT_TRUE(SavePickerPosition(Store().Paths(), {-1, -1}));
    const QByteArray saved = ReadFile("profiles/last.xml");
    EXPECT_TRUE(saved.contains("note=\"kept\""));
    EXPECT_EQ(LoadPickerPosition(Store().Paths()), (TPickerPosition{-1, -1}));
}

TEST_F(PickerPositionTest, SaveIntoARootWithoutChildrenAddsOne) {
    WriteFile("profiles/last.xml", "<main></main>");
    ASSERT_TRUE(SavePickerPosition(Store().Paths(), {4, 2}));
    EXPECT_EQ(LoadPickerPosition(Store().Paths()), (TPickerPosition{4, 2}));
    EXPECT_TRUE(ReadFile("profiles/last.xml").contains("<Profile"));
}

TEST_F(PickerPositionTest, MissingUserIndexIsCreatedEmpty) {
    QString error;
    const auto index = LoadUserProfiles(Store().Paths(), &error);
    ASSERT_TRUE(index);
    EXPECT_EQ(index->Count(), 0);
    EXPECT_EQ(ReadFile("profiles/userdefined.xml"),
              "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<main></main>\n");
}

}  // namespace
}  // namespace kestrova::test
