#include "filenames/NumberedFileName.h"
#include "shell/Prompts.h"
#include "shell/ShellCommands.h"
#include "shell/TimeText.h"
#include "shell/VersionText.h"
#include "tests/app/Fakes.h"

#include <QFile>

#include <gtest/gtest.h>

namespace kestrova::testing {

namespace {

void Touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

}  // namespace

TEST(TimeTextTest, ShowsHoursMinutesAndSecondsWithTwoDigitsAtLeast) {
    EXPECT_EQ(TimeText(0), QStringLiteral("00:00:00"));
    EXPECT_EQ(TimeText(59), QStringLiteral("00:00:59"));
    EXPECT_EQ(TimeText(60), QStringLiteral("00:01:00"));
    EXPECT_EQ(TimeText(3725), QStringLiteral("01:02:05"));
    EXPECT_EQ(TimeText(360000), QStringLiteral("100:00:00"));
    EXPECT_EQ(TimeText(3725, QStringLiteral(".")), QStringLiteral("01.02.05"));
}

TEST(TimeTextTest, AnUnknownNegativeDurationReadsAsZero) {
    EXPECT_EQ(TimeText(-5), QStringLiteral("00:00:00"));
    EXPECT_EQ(TimeText(std::numeric_limits<qint64>::min()), QStringLiteral("00:00:00"));
}

class NumberedFileNameTest : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return FEnvironment.Path(name); }
    TShellTestEnvironment FEnvironment;
};

TEST_F(NumberedFileNameTest, NumbersAFreshName) {
    EXPECT_EQ(NumberedFileName(Path(QStringLiteral("movie.mp4"))), Path(QStringLiteral("movie-1.mp4")));
}

TEST_F(NumberedFileNameTest, SkipsNamesThatAreTaken) {
    Touch(Path(QStringLiteral("movie-1.mp4")));
    EXPECT_EQ(NumberedFileName(Path(QStringLiteral("movie.mp4"))), Path(QStringLiteral("movie-2.mp4")));
    EXPECT_EQ(NumberedFileName(Path(QStringLiteral("movie-1.mp4"))), Path(QStringLiteral("movie-2.mp4")));
}

TEST_F(NumberedFileNameTest, CountsOnOnlyFromASingleCharacterAfterTheDash) {
    EXPECT_EQ(NumberedFileName(Path(QStringLiteral("movie-10"))), Path(QStringLiteral("movie-10-1")));
    EXPECT_EQ(NumberedFileName(Path(QStringLiteral("clip-x.avi"))), Path(QStringLiteral("clip--1.avi")));
    Touch(Path(QStringLiteral("clip--1.avi")));
    EXPECT_EQ(NumberedFileName(Path(QStringLiteral("clip-x.avi"))), Path(QStringLiteral("clip-0.avi")));
}

TEST_F(NumberedFileNameTest, AGivenExtensionKeepsThePathWhole) {
    EXPECT_EQ(NumberedFileName(Path(QStringLiteral("profile")), QStringLiteral(".xml")),
              Path(QStringLiteral("profile-1.xml")));
    EXPECT_EQ(NumberedFileName(Path(QStringLiteral("v1.2")), QStringLiteral(".xml")),
              Path(QStringLiteral("v1.2-1.xml")));
}

TEST_F(NumberedFileNameTest, ADotInAFolderNameIsNoExtension) {
    const QString folder = FEnvironment.MakeFolder(QStringLiteral("take.2"));
    EXPECT_EQ(NumberedFileName(folder + QStringLiteral("/movie")), folder + QStringLiteral("/movie-1"));
}

TEST(VersionTextTest, IsTheFirstThreeCharactersOfTheVersion) {
    EXPECT_EQ(VersionText(), QStringLiteral("3.0"));
}

TEST(ShellCommandsTest, GoToTheDesktopShell) {
    TShellTestEnvironment environment;
    EXPECT_TRUE(ShellOpen(QStringLiteral("https://example.org/")));
    EXPECT_TRUE(ShowInFileManager(QStringLiteral("/srv/out/movie.mp4")));
    EXPECT_EQ(environment.Shell().Opened, std::vector<QString>{QStringLiteral("https://example.org/")});
    EXPECT_EQ(environment.Shell().Shown, std::vector<QString>{QStringLiteral("/srv/out/movie.mp4")});
}

TEST(ShellCommandsTest, ShutDownAsksOnceAndReportsTheAnswer) {
    TShellTestEnvironment environment;
    EXPECT_TRUE(ShutDown());
    environment.Power().Accept = false;
    EXPECT_FALSE(ShutDown());
    EXPECT_EQ(environment.Power().PowerOffRequests, 2);
}

TEST(PromptsTest, BrowseForFolderPassesTheRequestAndTheAnswer) {
    TShellTestEnvironment environment;
    environment.Browser().Answer = QStringLiteral("/srv/out");
    EXPECT_EQ(BrowseForFolder(nullptr, QStringLiteral("Select Output Folder"), true, QStringLiteral("/srv")),
              QStringLiteral("/srv/out"));
    ASSERT_EQ(environment.Browser().Requests.size(), 1u);
    const platform::TFolderBrowseRequest& request = environment.Browser().Requests[0];
    EXPECT_EQ(request.Title, QStringLiteral("Select Output Folder"));
    EXPECT_EQ(request.StartFolder, QStringLiteral("/srv"));
    EXPECT_TRUE(request.CentreOnScreen);

    environment.Browser().Answer.clear();
    EXPECT_TRUE(BrowseForFolder(nullptr, QStringLiteral("Select Output Folder")).isEmpty());
}

TEST(PromptsTest, AskForTextPassesCaptionPromptAndInitialText) {
    TShellTestEnvironment environment;
    environment.Prompt().Answer = QStringLiteral("My profile");
    EXPECT_EQ(AskForText(nullptr, QStringLiteral("Save as"), QStringLiteral("Name:"), QStringLiteral("old")),
              QStringLiteral("My profile"));
    ASSERT_EQ(environment.Prompt().Questions.size(), 1u);
    EXPECT_EQ(environment.Prompt().Questions[0],
              (QStringList{QStringLiteral("Save as"), QStringLiteral("Name:"), QStringLiteral("old")}));
}

}  // namespace kestrova::testing
