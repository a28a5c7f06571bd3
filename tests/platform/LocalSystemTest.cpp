// The services that read the local system: mounts, user folders.
#include "platform/MountDriveInfo.h"
#include "platform/XdgUserFolders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kestrova::testing {

TEST(DriveInfoTest, DiscFileSystemsAndOpticalDevicesAreCdRoms) {
    EXPECT_TRUE(platform::IsOpticalMount("iso9660", "/dev/sr0", true));
    EXPECT_TRUE(platform::IsOpticalMount("udf", "/dev/sr1", true));
    EXPECT_TRUE(platform::IsOpticalMount("ISO9660", "/dev/loop3", true));  // a mounted disc image
    EXPECT_TRUE(platform::IsOpticalMount("auto", "/dev/cdrom", true));
    EXPECT_FALSE(platform::IsOpticalMount("ext4", "/dev/sda1", false));
    EXPECT_FALSE(platform::IsOpticalMount("ext4", "/dev/sda1", true));  // read-only, but a disk
    EXPECT_FALSE(
            platform::IsOpticalMount("vfat", "/dev/sr0", false));  // a rewritable disc mounted read-write
}

TEST(DriveInfoTest, OrdinaryFoldersAreNotCdRoms) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    platform::TMountDriveInfo drives;
    EXPECT_FALSE(drives.IsCdRom(folder.path()));
    // A folder still to be made is judged by the nearest folder that exists.
    EXPECT_FALSE(drives.IsCdRom(folder.filePath(QStringLiteral("not/made/yet"))));
    EXPECT_FALSE(drives.IsCdRom(QString()));
}

// The XDG user directories come from the user's user-dirs.dirs.
class XdgUserFoldersTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FHome.isValid());
        FSavedHome = qgetenv("HOME");
        FSavedConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", QFile::encodeName(FHome.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(FHome.filePath(QStringLiteral("config"))));
    }

    void TearDown() override {
        qputenv("HOME", FSavedHome);
        if (FSavedConfig.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", FSavedConfig);
    }

    void WriteUserDirs(const QByteArray& text) {
        ASSERT_TRUE(QDir(FHome.path()).mkpath(QStringLiteral("config")));
        QFile file(FHome.filePath(QStringLiteral("config/user-dirs.dirs")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QTemporaryDir FHome;
    QByteArray FSavedHome;
    QByteArray FSavedConfig;
};

TEST_F(XdgUserFoldersTest, FollowsTheUsersDirectories) {
    WriteUserDirs("XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\nXDG_VIDEOS_DIR=\"$HOME/Filme/\"\n");
    platform::TXdgUserFolders folders;
    EXPECT_EQ(folders.Documents(), FHome.filePath(QStringLiteral("Dokumente")));
    EXPECT_EQ(folders.Videos(), FHome.filePath(QStringLiteral("Filme")));
}

TEST_F(XdgUserFoldersTest, FallsBackToTheConventionalFoldersInTheHome) {
    platform::TXdgUserFolders folders;
    EXPECT_EQ(folders.Documents(), FHome.filePath(QStringLiteral("Documents")));
    EXPECT_EQ(folders.Videos(), FHome.filePath(QStringLiteral("Videos")));
}

}  // namespace kestrova::testing
