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
    void SetUp() override { ASSERT_TRUE(FFolder.isValid()); }

    QString Path() const { return FFolder.filePath(QStringLiteral("Setting.ini")); }

    void Write(const QByteArray& text) const {
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QByteArray Read() const {
        QFile file(Path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir FFolder;
};

TEST_F(SettingsTest, WithoutAFileTheDefaultsApplyAndNoFileIsMade) {
    TSettingsStore settings(Path());
    settings.Values().Processes = 9;
    settings.Load();
    EXPECT_EQ(settings.Values().Processes, 3);
    EXPECT_EQ(settings.Values().Priority, 0);
    EXPECT_TRUE(settings.Values().OutputFolder.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(Path()));
}

TEST_F(SettingsTest, AFileWithOnlyProcessesTakesTheOtherDefaults) {
    Write("[general]\nprocesses=5\n");
    TSettingsStore settings(Path());
    settings.Load();
    EXPECT_EQ(settings.Values().Processes, 5);
    EXPECT_EQ(settings.Values().Priority, 0);
    // An empty folder gains the separator too, and resolves like an empty folder.
    EXPECT_EQ(settings.Values().OutputFolder, QStringLiteral("/"));
}

TEST_F(SettingsTest, LoadsAllThreeKeys) {
    Write("[general]\nprocesses=0\npriority=3\noutputfolder=/srv/out\n");
    TSettingsStore settings(Path());
    settings.Load();
    EXPECT_EQ(settings.Values().Processes, 0);
    EXPECT_EQ(settings.Values().Priority, 3);
    EXPECT_EQ(settings.Values().OutputFolder, QStringLiteral("/srv/out/"));
}

TEST_F(SettingsTest, ThePriorityIsKeptInOneByte) {
    Write("[general]\npriority=258\n");
    TSettingsStore settings(Path());
    settings.Load();
    EXPECT_EQ(settings.Values().Priority, 2);
}

TEST_F(SettingsTest, SavingANewFileWritesTheThreeKeysInOrder) {
    TSettingsStore settings(Path());
    settings.Values() = {.Processes = 4, .Priority = 1, .OutputFolder = QStringLiteral("/srv/out")};
    settings.Save();
    EXPECT_EQ(Read(), QByteArray("[general]\nprocesses=4\npriority=1\noutputfolder=/srv/out\n"));

    TSettingsStore reloaded(Path());
    reloaded.Load();
    EXPECT_EQ(reloaded.Values().Processes, 4);
    EXPECT_EQ(reloaded.Values().Priority, 1);
    EXPECT_EQ(reloaded.Values().OutputFolder, QStringLiteral("/srv/out/"));
}

TEST_F(SettingsTest, SavingKeepsEverythingElseInTheFile) {
    Write("[window]\nleft=10\n[general]\nprocesses=2\nlanguage=de\n[recent]\nfile1=/a.flv\n");
    TSettingsStore settings(Path());
    settings.Load();
    settings.Values().Processes = 6;
    settings.Save();
    EXPECT_EQ(Read(), QByteArray("[window]\nleft=10\n[general]\nprocesses=6\nlanguage=de\npriority=0\n"
                                 "outputfolder=/\n[recent]\nfile1=/a.flv\n"));
}

TEST_F(SettingsTest, AFileThatCannotBeWrittenIsReportedWithItsPath) {
    ASSERT_TRUE(QDir(FFolder.path()).mkdir(QStringLiteral("Setting.ini")));  // a folder in its place
    TSettingsStore settings(Path());
    try {
        settings.Save();
        FAIL() << "no error raised";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(QString::fromUtf8(error.what()), QStringLiteral("Unable to write to ") + Path());
    }
}

TEST_F(SettingsTest, AReadOnlyFileIsReportedAndLeftAsItWas) {
    Write("[general]\nprocesses=2\n");
    ASSERT_TRUE(QFile::setPermissions(Path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    if (QFileInfo(Path()).isWritable()) GTEST_SKIP() << "this user may write to read-only files";
    TSettingsStore settings(Path());
    settings.Values().Processes = 8;
    EXPECT_THROW(settings.Save(), std::runtime_error);
    EXPECT_EQ(Read(), QByteArray("[general]\nprocesses=2\n"));
}

TEST(AppSettingsTest, LiveBesideTheProgram) {
    EXPECT_EQ(SettingsFilePath(), QString::fromStdString(ProgramFolder()) + QStringLiteral("Setting.ini"));
    EXPECT_EQ(AppSettings().FilePath(), SettingsFilePath());
    EXPECT_EQ(&AppSettings(), &AppSettings());
}

}  // namespace kestrova::testing
