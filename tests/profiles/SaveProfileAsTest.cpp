// Saving a built-in profile with the dialog's values as a user profile.
#include "tests/profiles/ProgramFolderFixture.h"

#include "profiles/store/ProfileDocument.h"

#include <QDir>

namespace kestrova::test {
namespace {

const TSelectedValues kValues = {"640x480 - vga", "768", "25", "16:9", "libx264", "1", "64",
                                 "22050",         "200", "mp3"};

class SaveProfileAsTest : public ProgramFolderTest {
protected:
    SaveProfileAsTest() {
        WriteBuiltInProfile("mp4.xml");
        WriteIndex("recent.xml", {});
        Current = Mp4Entry();
        EXPECT_TRUE(Loaded.Load(ProfilesPath("mp4.xml")));
    }

    TStoreResult Save() { return Store().SaveProfileAs(Loaded, kValues); }

    TProfileDocument Loaded;
};

TEST_F(SaveProfileAsTest, AsksWithCaptionPromptAndProposal) {
    Save();
    ASSERT_EQ(Asked.size(), 1u);
    EXPECT_EQ(Asked[0].Caption, "Profile SaveAs");
    EXPECT_EQ(Asked[0].Prompt, "Please input a file name for new profile:");
    EXPECT_EQ(Asked[0].InitialText, "MPEG-4 Video-1");
}

TEST_F(SaveProfileAsTest, SavingTwiceProposesNumberOneThenTwo) {
    EXPECT_TRUE(Save().Changed);
    EXPECT_TRUE(Save().Changed);
    ASSERT_EQ(Asked.size(), 2u);
    EXPECT_EQ(Asked[1].InitialText, "MPEG-4 Video-2");
    EXPECT_TRUE(Exists("profiles/userdefined/MPEG-4 Video-1.xml"));
    EXPECT_TRUE(Exists("profiles/userdefined/MPEG-4 Video-2.xml"));

    const auto index = ReadIndex("userdefined.xml");
    ASSERT_EQ(index.size(), 2u);
    EXPECT_EQ(index[0], (TProfileEntry{"MPEG-4 Video-1(*.mp4)", Current.DescribeName, Current.ProfileImage,
                                       "userdefined/MPEG-4 Video-1.xml"}));
    EXPECT_EQ(index[1].ProfileName, "MPEG-4 Video-2(*.mp4)");
    EXPECT_EQ(index[1].ProfileFile, "userdefined/MPEG-4 Video-2.xml");
    EXPECT_EQ(ListsChangedCount, 2);
    // The dialog keeps working on the built-in profile.
    EXPECT_EQ(Current, Mp4Entry());
}

TEST_F(SaveProfileAsTest, TypedNameNamesTheFileAndTheEntry) {
    Answer("phone");
    ASSERT_TRUE(Save().Changed);
    EXPECT_TRUE(Exists("profiles/userdefined/phone.xml"));
    const auto index = ReadIndex("userdefined.xml");
    ASSERT_EQ(index.size(), 1u);
    EXPECT_EQ(index[0].ProfileFile, "userdefined/phone.xml");
    EXPECT_EQ(index[0].ProfileName, "phone(*.mp4)");
}

TEST_F(SaveProfileAsTest, XmlExtensionRuleForTypedNames) {
    Answer("phone.XML");
    Answer("phone.txt");
    Save();
    Save();
    EXPECT_TRUE(Exists("profiles/userdefined/phone.XML"));
    EXPECT_TRUE(Exists("profiles/userdefined/phone.txt.xml"));
    const auto index = ReadIndex("userdefined.xml");
    ASSERT_EQ(index.size(), 2u);
    EXPECT_EQ(index[0].ProfileFile, "userdefined/phone.XML");
    EXPECT_EQ(index[1].ProfileFile, "userdefined/phone.txt.xml");
}

TEST_F(SaveProfileAsTest, SavedFileHoldsTheSelectedValuesAndTheRestUnchanged) {
    Answer("mine");
    ASSERT_TRUE(Save().Changed);
    TProfileDocument saved;
    ASSERT_TRUE(saved.Load(ProfilesPath("userdefined/mine.xml")));
    for (std::size_t i = 0; i < kSelectableParameters.size(); ++i)
        EXPECT_EQ(saved.DefaultValue(kSelectableParameters[i]), kValues[i]) << kSelectableParameters[i];
    EXPECT_EQ(saved.DefaultValue("normtype"), "Auto");
    EXPECT_EQ(saved.DefaultValue("disablevideo"), "false");
    EXPECT_EQ(saved.MainValue("extensionname"), " mp4,m4v ");
    EXPECT_EQ(saved.CandidatesValue("videosize"), "Auto - Original,320x240 - qvga,640x480 - vga");
    // The built-in file itself is not touched.
    TProfileDocument builtIn;
    ASSERT_TRUE(builtIn.Load(ProfilesPath("mp4.xml")));
    EXPECT_EQ(builtIn.DefaultValue("videosize"), "320x240 - qvga");
}

TEST_F(SaveProfileAsTest, CancelOrBlankAnswerChangesNothing) {
    Answer("");
    Answer("   ");
    for (int i = 0; i < 2; ++i) {
        const TStoreResult result = Save();
        EXPECT_FALSE(result.Changed);
        EXPECT_FALSE(result.Failed());
    }
    EXPECT_TRUE(QDir(ProfilesPath("userdefined")).isEmpty());
    EXPECT_TRUE(ReadIndex("userdefined.xml").empty());
    EXPECT_EQ(ListsChangedCount, 0);
}

TEST_F(SaveProfileAsTest, NoCurrentProfileDoesNothing) {
    Current = {};
    EXPECT_FALSE(Save().Changed);
    EXPECT_TRUE(Asked.empty());
}

TEST_F(SaveProfileAsTest, NothingLoadedWritesNoEmptyProfile) {
    TProfileDocument nothing;
    const TStoreResult result = Store().SaveProfileAs(nothing, kValues);
    EXPECT_TRUE(result.Failed());
    EXPECT_FALSE(Exists("profiles/userdefined/MPEG-4 Video-1.xml"));
}

TEST_F(SaveProfileAsTest, MissingIndexIsCreatedWithTheDeclaration) {
    ASSERT_FALSE(Exists("profiles/userdefined.xml"));
    ASSERT_TRUE(Save().Changed);
    EXPECT_TRUE(
            ReadFile("profiles/userdefined.xml").startsWith("<?xml version=\"1.0\" encoding=\"utf-8\"?>"));
    EXPECT_EQ(ReadIndex("userdefined.xml").size(), 1u);
}

TEST_F(SaveProfileAsTest, IndexThatIsNotXmlIsLeftForRepairWithAnError) {
    WriteFile("profiles/userdefined.xml", "<main><profile profilefile=");
    const TStoreResult result = Save();
    EXPECT_TRUE(result.Failed());
    EXPECT_TRUE(result.Error.contains("userdefined.xml")) << result.Error.toStdString();
    EXPECT_EQ(ReadFile("profiles/userdefined.xml"), "<main><profile profilefile=");
    EXPECT_TRUE(QDir(ProfilesPath("userdefined")).isEmpty());
}

TEST_F(SaveProfileAsTest, EmptyIndexFileIsStartedAfresh) {
    WriteFile("profiles/userdefined.xml", "");
    ASSERT_TRUE(Save().Changed);
    EXPECT_EQ(ReadIndex("userdefined.xml").size(), 1u);
}

TEST_F(SaveProfileAsTest, NameLeavingTheUserFolderIsRefused) {
    Answer("../mp4");
    const TStoreResult result = Save();
    EXPECT_TRUE(result.Failed());
    EXPECT_FALSE(result.Changed);
    TProfileDocument builtIn;
    ASSERT_TRUE(builtIn.Load(ProfilesPath("mp4.xml")));
    EXPECT_EQ(builtIn.DefaultValue("videosize"), "320x240 - qvga");
    EXPECT_TRUE(ReadIndex("userdefined.xml").empty());
}

TEST_F(SaveProfileAsTest, SavingOverAListedFileKeepsOneEntry) {
    Answer("phone");
    Answer("phone");
    Save();
    Save();
    const auto index = ReadIndex("userdefined.xml");
    ASSERT_EQ(index.size(), 1u);
    EXPECT_EQ(index[0].ProfileFile, "userdefined/phone.xml");
}

TEST_F(SaveProfileAsTest, NameWithoutTailGivesBareProposal) {
    Current.ProfileName = "Custom";
    ASSERT_TRUE(Save().Changed);
    EXPECT_EQ(Asked[0].InitialText, "Custom-1");
    EXPECT_EQ(ReadIndex("userdefined.xml")[0].ProfileName, "Custom-1");
}

TEST_F(SaveProfileAsTest, SeparatorInTheDisplayNameStaysInsideTheUserFolder) {
    Current.ProfileName = "CD/VCD Video(*.mpg)";
    ASSERT_TRUE(Save().Changed);
    EXPECT_EQ(Asked[0].InitialText, "CD_VCD Video-1");
    EXPECT_TRUE(Exists("profiles/userdefined/CD_VCD Video-1.xml"));
}

TEST_F(SaveProfileAsTest, UnwritableUserFolderReportsAndListsNothing) {
    QDir().mkpath(ProfilesPath("userdefined"));
    TWriteBlock block(ProfilesPath("userdefined"));
    if (!block.Blocked()) GTEST_SKIP() << "this system lets the test user write anywhere";
    const TStoreResult result = Save();
    EXPECT_TRUE(result.Failed());
    EXPECT_TRUE(ReadIndex("userdefined.xml").empty());
}

TEST_F(SaveProfileAsTest, FailedIndexWriteTakesTheNewFileBack) {
    WriteIndex("userdefined.xml", {});
    QDir().mkpath(ProfilesPath("userdefined"));
    TWriteBlock block(ProfilesPath(""));
    if (!block.Blocked()) GTEST_SKIP() << "this system lets the test user write anywhere";
    const TStoreResult result = Save();
    EXPECT_TRUE(result.Failed());
    EXPECT_FALSE(Exists("profiles/userdefined/MPEG-4 Video-1.xml"));
}

}  // namespace
}  // namespace kestrova::test
