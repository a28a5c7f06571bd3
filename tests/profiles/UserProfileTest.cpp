// Renaming and deleting user profiles, and telling them from built-in ones.
#include "tests/profiles/ProgramFolderFixture.h"

#include <QDir>

namespace kestrova::test {
namespace {

TProfileEntry ClipEntry() {
    return TProfileEntry{"clip-1(*.mp4)", "Clip #13#10 profile.", "profile_mp4.png",
                         "userdefined/clip-1.xml"};
}

class UserProfileTest : public ProgramFolderTest {
protected:
    UserProfileTest() {
        WriteBuiltInProfile("mp4.xml");
        WriteBuiltInProfile("userdefined/clip-1.xml");
        WriteIndex("userdefined.xml", {NamedEntry(7), ClipEntry()});
        WriteIndex("recent.xml", {ClipEntry(), Mp4Entry()});
        Current = ClipEntry();
    }
};

TEST_F(UserProfileTest, RenameAsksWithCaptionPromptAndNextNumber) {
    Answer("");
    Store().RenameUserProfile();
    ASSERT_EQ(Asked.size(), 1u);
    EXPECT_EQ(Asked[0].Caption, "Profile ReName");
    EXPECT_EQ(Asked[0].Prompt, "Please input a New file name for profile:");
    EXPECT_EQ(Asked[0].InitialText, "clip-2");
}

TEST_F(UserProfileTest, RenameMovesTheFileAndUpdatesBothIndexes) {
    Answer("phone");
    const TStoreResult result = Store().RenameUserProfile();
    EXPECT_TRUE(result.Changed);
    EXPECT_FALSE(result.Failed());
    EXPECT_FALSE(Exists("profiles/userdefined/clip-1.xml"));
    EXPECT_TRUE(Exists("profiles/userdefined/phone.xml"));
    EXPECT_EQ(Current.ProfileFile, "userdefined/phone.xml");
    EXPECT_EQ(Current.ProfileName, "phone(*.mp4)");

    const auto index = ReadIndex("userdefined.xml");
    ASSERT_EQ(index.size(), 2u);
    EXPECT_EQ(index[0], NamedEntry(7));
    const TProfileEntry renamed{"phone(*.mp4)", ClipEntry().DescribeName, ClipEntry().ProfileImage,
                                "userdefined/phone.xml"};
    EXPECT_EQ(index[1], renamed);
    const auto recent = ReadIndex("recent.xml");
    ASSERT_EQ(recent.size(), 2u);
    EXPECT_EQ(recent[0], renamed);
    EXPECT_EQ(recent[1], Mp4Entry());
    EXPECT_EQ(ListsChangedCount, 1);
}

TEST_F(UserProfileTest, RenameCancelledChangesNothing) {
    Answer(" ");
    const QByteArray index = ReadFile("profiles/userdefined.xml");
    const TStoreResult result = Store().RenameUserProfile();
    EXPECT_FALSE(result.Changed);
    EXPECT_FALSE(result.Failed());
    EXPECT_TRUE(Exists("profiles/userdefined/clip-1.xml"));
    EXPECT_EQ(ReadFile("profiles/userdefined.xml"), index);
    EXPECT_EQ(Current, ClipEntry());
}

TEST_F(UserProfileTest, RenameWhoseMoveFailsLeavesTheIndexesNamingTheRealFile) {
    QFile::remove(ProfilesPath("userdefined/clip-1.xml"));
    const QByteArray index = ReadFile("profiles/userdefined.xml");
    const QByteArray recent = ReadFile("profiles/recent.xml");
    Answer("phone");
    const TStoreResult result = Store().RenameUserProfile();
    EXPECT_TRUE(result.Failed());
    EXPECT_FALSE(result.Changed);
    EXPECT_EQ(ReadFile("profiles/userdefined.xml"), index);
    EXPECT_EQ(ReadFile("profiles/recent.xml"), recent);
    EXPECT_EQ(Current, ClipEntry());
}

TEST_F(UserProfileTest, RenameOntoAnExistingFileIsRefused) {
    WriteBuiltInProfile("userdefined/taken.xml");
    const QByteArray taken = ReadFile("profiles/userdefined/taken.xml");
    Answer("taken");
    const TStoreResult result = Store().RenameUserProfile();
    EXPECT_TRUE(result.Failed());
    EXPECT_TRUE(Exists("profiles/userdefined/clip-1.xml"));
    EXPECT_EQ(ReadFile("profiles/userdefined/taken.xml"), taken);
    EXPECT_EQ(ReadIndex("userdefined.xml")[1], ClipEntry());
}

TEST_F(UserProfileTest, RenameToTheSameNameIsANoOp) {
    Answer("clip-1");
    const TStoreResult result = Store().RenameUserProfile();
    EXPECT_FALSE(result.Changed);
    EXPECT_FALSE(result.Failed());
    EXPECT_TRUE(Exists("profiles/userdefined/clip-1.xml"));
    EXPECT_EQ(ReadIndex("userdefined.xml")[1], ClipEntry());
}

TEST_F(UserProfileTest, RenameWhoseIndexCannotBeWrittenPutsTheFileBack) {
    TWriteBlock block(ProfilesPath(""));
    if (!block.Blocked()) GTEST_SKIP() << "this system lets the test user write anywhere";
    Answer("phone");
    const TStoreResult result = Store().RenameUserProfile();
    EXPECT_TRUE(result.Failed());
    EXPECT_TRUE(Exists("profiles/userdefined/clip-1.xml"));
    EXPECT_FALSE(Exists("profiles/userdefined/phone.xml"));
    EXPECT_EQ(ReadIndex("userdefined.xml")[1], ClipEntry());
    EXPECT_EQ(Current, ClipEntry());
}

TEST_F(UserProfileTest, RenameWhoseRecentListCannotBeWrittenRestoresEverything) {
    TWriteBlock block(ProfilesPath("recent.xml"));
    if (!block.Blocked()) GTEST_SKIP() << "this system cannot protect a single file from the test user";
    Answer("phone");
    const TStoreResult result = Store().RenameUserProfile();
    EXPECT_TRUE(result.Failed());
    EXPECT_TRUE(Exists("profiles/userdefined/clip-1.xml"));
    EXPECT_FALSE(Exists("profiles/userdefined/phone.xml"));
    EXPECT_EQ(ReadIndex("userdefined.xml")[1], ClipEntry());
    EXPECT_EQ(ReadIndex("recent.xml")[0], ClipEntry());
}

TEST_F(UserProfileTest, RenameOfABuiltInProfileDoesNothing) {
    Current = Mp4Entry();
    EXPECT_FALSE(Store().RenameUserProfile().Changed);
    EXPECT_TRUE(Asked.empty());
    EXPECT_TRUE(Exists("profiles/mp4.xml"));
}

TEST_F(UserProfileTest, DeleteRemovesTheFileAndBothEntries) {
    const TStoreResult result = Store().DeleteUserProfile();
    EXPECT_TRUE(result.Changed);
    EXPECT_FALSE(result.Failed());
    EXPECT_FALSE(Exists("profiles/userdefined/clip-1.xml"));
    const auto index = ReadIndex("userdefined.xml");
    ASSERT_EQ(index.size(), 1u);
    EXPECT_EQ(index[0], NamedEntry(7));
    const auto recent = ReadIndex("recent.xml");
    ASSERT_EQ(recent.size(), 1u);
    EXPECT_EQ(recent[0], Mp4Entry());
    // The dialog keeps showing what it showed.
    EXPECT_EQ(Current, ClipEntry());
    EXPECT_EQ(ListsChangedCount, 1);
}

TEST_F(UserProfileTest, DeleteOfAMissingFileLeavesTheEntries) {
    QFile::remove(ProfilesPath("userdefined/clip-1.xml"));
    const TStoreResult result = Store().DeleteUserProfile();
    EXPECT_FALSE(result.Changed);
    EXPECT_FALSE(result.Failed());
    EXPECT_EQ(ReadIndex("userdefined.xml").size(), 2u);
    EXPECT_EQ(ReadIndex("recent.xml").size(), 2u);
}

TEST_F(UserProfileTest, DeleteWithoutAProfileFileDoesNothing) {
    Current = {};
    EXPECT_FALSE(Store().DeleteUserProfile().Changed);
    EXPECT_TRUE(QDir(ProfilesPath("")).exists());
}

TEST_F(UserProfileTest, DeleteWithABrokenIndexKeepsTheFile) {
    WriteFile("profiles/userdefined.xml", "garbage");
    const TStoreResult result = Store().DeleteUserProfile();
    EXPECT_TRUE(result.Failed());
    EXPECT_TRUE(Exists("profiles/userdefined/clip-1.xml"));
    EXPECT_EQ(ReadFile("profiles/userdefined.xml"), "garbage");
}

TEST_F(UserProfileTest, IndexWrittenWithWindowsSeparatorsStillFindsTheFile) {
    TProfileEntry windows = ClipEntry();
    windows.ProfileFile = "userdefined\\clip-1.xml";
    WriteIndex("userdefined.xml", {windows});
    Current = windows;
    ASSERT_TRUE(Store().DeleteUserProfile().Changed);
    EXPECT_FALSE(Exists("profiles/userdefined/clip-1.xml"));
    EXPECT_TRUE(ReadIndex("userdefined.xml").empty());
}

TEST_F(UserProfileTest, UserProfilesAreThoseBelowTheUserFolder) {
    EXPECT_TRUE(Store().IsBuiltInProfile(P() + "profiles/mp4.xml"));
    EXPECT_FALSE(Store().IsBuiltInProfile(P() + "profiles/userdefined/clip-1.xml"));
    // The search is case-sensitive.
    EXPECT_TRUE(Store().IsBuiltInProfile(P() + "profiles/UserDefined/clip-1.xml"));
}

class UserNamedProgramFolderTest : public ProgramFolderTest {
protected:
    UserNamedProgramFolderTest() {
        UseProgramFolder("my-userdefined-tools");
        WriteBuiltInProfile("mp4.xml");
        WriteIndex("recent.xml", {Mp4Entry()});
        Current = Mp4Entry();
    }
};

TEST_F(UserNamedProgramFolderTest, BuiltInProfilesStayBuiltIn) {
    EXPECT_TRUE(Store().IsBuiltInProfile(P() + "profiles/mp4.xml"));
    EXPECT_FALSE(Store().IsBuiltInProfile(P() + "profiles/userdefined/x.xml"));
}

TEST_F(UserNamedProgramFolderTest, BuiltInProfileCannotBeDeletedOrRenamed) {
    EXPECT_FALSE(Store().DeleteUserProfile().Changed);
    EXPECT_FALSE(Store().RenameUserProfile().Changed);
    EXPECT_TRUE(Exists("profiles/mp4.xml"));
    EXPECT_EQ(ReadIndex("recent.xml").size(), 1u);
}

}  // namespace
}  // namespace kestrova::test
