// Recording the current profile in recent.xml.
#include "tests/profiles/ProgramFolderFixture.h"

#include "profiles/store/IndexFiles.h"

namespace kestrova::test {
namespace {

using RecentProfilesTest = ProgramFolderTest;

TEST_F(RecentProfilesTest, AppendsTheCurrentProfileWithItsFourAttributes) {
    WriteIndex("recent.xml", {NamedEntry(1)});
    Current = Mp4Entry();
    const TStoreResult result = Store().AddRecentProfile();
    EXPECT_TRUE(result.Changed);
    EXPECT_FALSE(result.Failed());
    const auto entries = ReadIndex("recent.xml");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0], NamedEntry(1));
    EXPECT_EQ(entries[1], Mp4Entry());
    EXPECT_EQ(ListsChangedCount, 1);
}

TEST_F(RecentProfilesTest, ProfileAlreadyListedByNameLeavesTheFileAlone) {
    TProfileEntry listed = Mp4Entry();
    listed.ProfileFile = "elsewhere.xml";  // same name, other attributes: still a match
    WriteIndex("recent.xml", {listed, NamedEntry(1)});
    const QByteArray before = ReadFile("profiles/recent.xml");
    Current = Mp4Entry();
    const TStoreResult result = Store().AddRecentProfile();
    EXPECT_FALSE(result.Changed);
    EXPECT_EQ(ReadFile("profiles/recent.xml"), before);
    EXPECT_EQ(ListsChangedCount, 0);
}

TEST_F(RecentProfilesTest, EleventhDistinctProfilePushesOutTheOldest) {
    WriteIndex("recent.xml", {});
    for (int n = 1; n <= 11; ++n) {
        Current = NamedEntry(n);
        Store().AddRecentProfile();
    }
    const auto entries = ReadIndex("recent.xml");
    ASSERT_EQ(entries.size(), 10u);
    EXPECT_EQ(entries.front(), NamedEntry(2));
    EXPECT_EQ(entries.back(), NamedEntry(11));
}

TEST_F(RecentProfilesTest, OverlongInstalledListIsCutToTheTenNewest) {
    std::vector<TProfileEntry> many;
    for (int n = 1; n <= 13; ++n) many.push_back(NamedEntry(n));
    WriteIndex("recent.xml", many);
    Current = Mp4Entry();
    Store().AddRecentProfile();
    const auto entries = ReadIndex("recent.xml");
    ASSERT_EQ(entries.size(), 10u);
    EXPECT_EQ(entries.front(), NamedEntry(5));
    EXPECT_EQ(entries.back(), Mp4Entry());
}

TEST_F(RecentProfilesTest, NoCurrentProfileRecordsNothing) {
    const TStoreResult result = Store().AddRecentProfile();
    EXPECT_FALSE(result.Changed);
    EXPECT_FALSE(Exists("profiles/recent.xml"));
}

TEST_F(RecentProfilesTest, MissingFileIsCreatedWithTheEntry) {
    Current = Mp4Entry();
    EXPECT_TRUE(Store().AddRecentProfile().Changed);
    EXPECT_TRUE(ReadFile("profiles/recent.xml").startsWith("<?xml version=\"1.0\" encoding=\"utf-8\"?>"));
    const auto entries = ReadIndex("recent.xml");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0], Mp4Entry());
}

TEST_F(RecentProfilesTest, BrokenFilesCountAsEmpty) {
    for (const QByteArray& content : {QByteArray("not xml at all"), QByteArray(""), QByteArray("<main>")}) {
        WriteFile("profiles/recent.xml", content);
        Current = Mp4Entry();
        const TStoreResult result = Store().AddRecentProfile();
        EXPECT_TRUE(result.Changed) << content.constData();
        const auto entries = ReadIndex("recent.xml");
        ASSERT_EQ(entries.size(), 1u) << content.constData();
        EXPECT_EQ(entries[0], Mp4Entry());
    }
}

TEST_F(RecentProfilesTest, InstalledRootNameAndDeclarationAreKept) {
    WriteFile("profiles/recent.xml", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<recent></recent>");
    Current = Mp4Entry();
    Current.ProfileName = QString::fromUtf8("Caf\xc3\xa9 Video(*.mp4)");
    ASSERT_TRUE(Store().AddRecentProfile().Changed);
    const QByteArray bytes = ReadFile("profiles/recent.xml");
    EXPECT_TRUE(bytes.contains("<recent>"));
    EXPECT_TRUE(bytes.contains("ISO-8859-1"));
    const auto entries = ReadIndex("recent.xml");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].ProfileName, Current.ProfileName);
}

TEST_F(RecentProfilesTest, LoadingAMissingListCreatesAnEmptyOne) {
    const TIndexDocument recent = LoadRecentProfiles(Store().Paths());
    EXPECT_EQ(recent.Count(), 0);
    EXPECT_EQ(ReadFile("profiles/recent.xml"), "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<main></main>\n");
}

TEST_F(RecentProfilesTest, UnwritableListReportsAnError) {
    WriteIndex("recent.xml", {});
    TWriteBlock block(ProfilesPath(""));
    if (!block.Blocked()) GTEST_SKIP() << "this system lets the test user write anywhere";
    Current = Mp4Entry();
    const TStoreResult result = Store().AddRecentProfile();
    EXPECT_TRUE(result.Failed());
    EXPECT_FALSE(result.Changed);
    EXPECT_EQ(ListsChangedCount, 0);
}

}  // namespace
}  // namespace kestrova::test
