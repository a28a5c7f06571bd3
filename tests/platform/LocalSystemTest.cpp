// The services that read the local system: mounts, user folders.
#include "platform/MountDriveInfo.h"
#include "platform/XdgUserFolders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kestrova::testing {

TEST(DriveInfoTest, DiscFileSystemsAndOpticalDevicesAreCdRoms)
{
    EXPECT_TRUE(platform::IsOpticalMount("iso9660", "/dev/sr0", true));
    EXPECT_TRUE(platform::IsOpticalMount("udf", "/dev/sr1", true));
    EXPECT_TRUE(platform::IsOpticalMount("ISO9660", "/dev/loop3", true));  // a mounted disc image
    EXPECT_TRUE(platform::IsOpticalMount("auto", "/dev/cdrom", true));
    EXPECT_FALSE(platform::IsOpticalMount("ext4", "/dev/sda1", false));
    EXPECT_FALSE(platform::IsOpticalMount("ext4", "/dev/sda1", true));    // read-only, but a disk
    EXPECT_FALSE(platform::IsOpticalMount("vfat", "/dev/sr0", false));     // a rewritable disc mounted read-write
}

TEST(DriveInfoTest, OrdinaryFoldersAreNotCdRoms)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    platform::MountDriveInfo drives;
    EXPECT_FALSE(drives.IsCdRom(folder.path()));
    // A folder still to be made is judged by the nearest folder that exists.
    EXPECT_FALSE(drives.IsCdRom(folder.filePath(QStringLiteral("not/made/yet"))));
    EXPECT_FALSE(drives.IsCdRom(QString()));
}

// The XDG user directories come from the user's user-dirs.dirs.
class XdgUserFoldersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home_.isValid());
        savedHome_ = qgetenv("HOME");
        savedConfig_ = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", QFile::encodeName(home_.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home_.filePath(QStringLiteral("config"))));
    }

    void TearDown() override
    {
        qputenv("HOME", savedHome_);
        if (savedConfig_.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", savedConfig_);
    }

    void WriteUserDirs(const QByteArray& text)
    {
        ASSERT_TRUE(QDir(home_.path()).mkpath(QStringLiteral("config")));
        QFile file(home_.filePath(QStringLiteral("config/user-dirs.dirs")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QTemporaryDir home_;
    QByteArray savedHome_;
    QByteArray savedConfig_;
};

TEST_F(XdgUserFoldersTest, FollowsTheUsersDirectories)
{
    WriteUserDirs("XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\nXDG_VIDEOS_DIR=\"$HOME/Filme/\"\n");
    platform::XdgUserFolders folders;
    EXPECT_EQ(folders.Documents(), home_.filePath(QStringLiteral("Dokumente")));
    EXPECT_EQ(folders.Videos(), home_.filePath(QStringLiteral("Filme")));
}

TEST_F(XdgUserFoldersTest, FallsBackToTheConventionalFoldersInTheHome)
{
    platform::XdgUserFolders folders;
    EXPECT_EQ(folders.Documents(), home_.filePath(QStringLiteral("Documents")));
    EXPECT_EQ(folders.Videos(), home_.filePath(QStringLiteral("Videos")));
}

} // namespace kestrova::testing
