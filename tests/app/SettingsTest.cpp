#include "app/settings/Settings.h"
#include "engine/frame/ProgramFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

namespace kestrova::testing {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder_.isValid()); }

    QString Path() const { return folder_.filePath(QStringLiteral("Setting.ini")); }

    void Write(const QByteArray& text) const
    {
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QByteArray Read() const
    {
        QFile file(Path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir folder_;
};

TEST_F(SettingsTest, WithoutAFileTheDefaultsApplyAndNoFileIsMade)
{
    SettingsStore settings(Path());
    settings.Values().processes = 9;
    settings.Load();
    EXPECT_EQ(settings.Values().processes, 3);
    EXPECT_EQ(settings.Values().priority, 0);
    EXPECT_TRUE(settings.Values().outputFolder.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(Path()));
}

TEST_F(SettingsTest, AFileWithOnlyProcessesTakesTheOtherDefaults)
{
    Write("[general]\nprocesses=5\n");
    SettingsStore settings(Path());
    settings.Load();
    EXPECT_EQ(settings.Values().processes, 5);
    EXPECT_EQ(settings.Values().priority, 0);
    // An empty folder gains the separator too, and resolves like an empty folder.
    EXPECT_EQ(settings.Values().outputFolder, QStringLiteral("/"));
}

TEST_F(SettingsTest, LoadsAllThreeKeys)
{
    Write("[general]\nprocesses=0\npriority=3\noutputfolder=/srv/out\n");
    SettingsStore settings(Path());
    settings.Load();
    EXPECT_EQ(settings.Values().processes, 0);
    EXPECT_EQ(settings.Values().priority, 3);
    EXPECT_EQ(settings.Values().outputFolder, QStringLiteral("/srv/out/"));
}

TEST_F(SettingsTest, ThePriorityIsKeptInOneByte)
{
    Write("[general]\npriority=258\n");
    SettingsStore settings(Path());
    settings.Load();
    EXPECT_EQ(settings.Values().priority, 2);
}

TEST_F(SettingsTest, SavingANewFileWritesTheThreeKeysInOrder)
{
    SettingsStore settings(Path());
    settings.Values() = {.processes = 4, .priority = 1, .outputFolder = QStringLiteral("/srv/out")};
    settings.Save();
    EXPECT_EQ(Read(), QByteArray("[general]\nprocesses=4\npriority=1\noutputfolder=/srv/out\n"));

    SettingsStore reloaded(Path());
    reloaded.Load();
    EXPECT_EQ(reloaded.Values().processes, 4);
    EXPECT_EQ(reloaded.Values().priority, 1);
    EXPECT_EQ(reloaded.Values().outputFolder, QStringLiteral("/srv/out/"));
}

TEST_F(SettingsTest, SavingKeepsEverythingElseInTheFile)
{
    Write("[window]\nleft=10\n[general]\nprocesses=2\nlanguage=de\n[recent]\nfile1=/a.flv\n");
    SettingsStore settings(Path());
    settings.Load();
    settings.Values().processes = 6;
    settings.Save();
    EXPECT_EQ(Read(), QByteArray("[window]\nleft=10\n[general]\nprocesses=6\nlanguage=de\npriority=0\n"
                                 "outputfolder=/\n[recent]\nfile1=/a.flv\n"));
}

TEST_F(SettingsTest, AFileThatCannotBeWrittenIsReportedWithItsPath)
{
    ASSERT_TRUE(QDir(folder_.path()).mkdir(QStringLiteral("Setting.ini")));  // a folder in its place
    SettingsStore settings(Path());
    try {
        settings.Save();
        FAIL() << "no error raised";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(QString::fromUtf8(error.what()), QStringLiteral("Unable to write to ") + Path());
    }
}

TEST_F(SettingsTest, AReadOnlyFileIsReportedAndLeftAsItWas)
{
    Write("[general]\nprocesses=2\n");
    ASSERT_TRUE(QFile::setPermissions(Path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    if (QFileInfo(Path()).isWritable())
        GTEST_SKIP() << "this user may write to read-only files";
    SettingsStore settings(Path());
    settings.Values().processes = 8;
    EXPECT_THROW(settings.Save(), std::runtime_error);
    EXPECT_EQ(Read(), QByteArray("[general]\nprocesses=2\n"));
}

TEST(AppSettingsTest, LiveBesideTheProgram)
{
    EXPECT_EQ(SettingsFilePath(), QString::fromStdString(ProgramFolder()) + QStringLiteral("Setting.ini"));
    EXPECT_EQ(AppSettings().FilePath(), SettingsFilePath());
    EXPECT_EQ(&AppSettings(), &AppSettings());
}

} // namespace kestrova::testing
