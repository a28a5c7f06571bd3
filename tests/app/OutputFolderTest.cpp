#include "shell/OutputFolder.h"
#include "engine/frame/ProgramFolder.h"
#include "tests/app/Fakes.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <stdexcept>

namespace kestrova::testing {

TEST(OutputFolderTest, AnExistingFolderSurroundedByBlanksKeepsOneSeparator) {
    TShellTestEnvironment environment;
    const QString out = environment.MakeFolder(QStringLiteral("Out"));

    EXPECT_EQ(ResolveOutputFolder(QStringLiteral("  ") + out + QStringLiteral("/  ")), out + u'/');
    EXPECT_EQ(ResolveOutputFolder(out), out + u'/');
    EXPECT_FALSE(QFileInfo::exists(environment.Folders().VideosFolder));  // no fallback was needed
}

TEST(OutputFolderTest, AMissingFolderGivesTheVideoFolderCreatedOnDemand) {
    TShellTestEnvironment environment;
    const QString videos = environment.Folders().VideosFolder;
    ASSERT_FALSE(QFileInfo::exists(videos));

    EXPECT_EQ(ResolveOutputFolder(environment.Path(QStringLiteral("gone"))), videos + u'/');
    EXPECT_TRUE(QFileInfo(videos).isDir());
    EXPECT_FALSE(QFileInfo::exists(environment.Path(QStringLiteral("gone"))));
}

TEST(OutputFolderTest, EmptyTextAndALoneSeparatorResolveToTheVideoFolder) {
    TShellTestEnvironment environment;
    const QString videos = environment.Folders().VideosFolder + u'/';
    EXPECT_EQ(ResolveOutputFolder(QString()), videos);
    EXPECT_EQ(ResolveOutputFolder(QStringLiteral("/")), videos);
    EXPECT_EQ(ResolveOutputFolder(QStringLiteral("   ")), videos);
}

TEST(OutputFolderTest, AFileIsNoOutputFolder) {
    TShellTestEnvironment environment;
    QFile file(environment.Path(QStringLiteral("movie.mp4")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ(ResolveOutputFolder(file.fileName()), environment.Folders().VideosFolder + u'/');
}

TEST(OutputFolderTest, TheVideoFolderIsCreatedOneLevelDeepOnlyElseTheProgramFolderServes) {
    TShellTestEnvironment environment;
    environment.Folders().VideosFolder = environment.Path(QStringLiteral("no/such/Videos"));

    EXPECT_EQ(ResolveOutputFolder(QString()), QString::fromStdString(ProgramFolder()));
    EXPECT_FALSE(QFileInfo::exists(environment.Path(QStringLiteral("no"))));
}

TEST(OutputFolderTest, WithoutADocumentsFolderTheLookupFails) {
    TShellTestEnvironment environment;
    environment.Folders().DocumentsFolder.clear();
    try {
        ResolveOutputFolder(QString());
        FAIL() << "no error raised";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Could not find MyDocuments folder location.");
    }
    // A configured folder that exists needs no lookup.
    const QString out = environment.MakeFolder(QStringLiteral("Out"));
    EXPECT_EQ(ResolveOutputFolder(out), out + u'/');
}

TEST(DefaultVideoFolderTest, IsTheUsersVideosFolderWithoutSeparator) {
    TShellTestEnvironment environment;
    environment.Folders().VideosFolder = environment.Path(QStringLiteral("home/Filme/"));
    EXPECT_EQ(DefaultVideoFolder(), environment.Path(QStringLiteral("home/Filme")));
}

TEST(DefaultVideoFolderTest, WithoutAVideosFolderItLiesBesideTheDocuments) {
    TShellTestEnvironment environment;
    environment.Folders().VideosFolder.clear();
    EXPECT_EQ(DefaultVideoFolder(), environment.Path(QStringLiteral("home/Videos")));
}

}  // namespace kestrova::testing
