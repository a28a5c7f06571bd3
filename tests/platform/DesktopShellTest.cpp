#include "tests/platform/PrivateBus.h"
#include "platform/DesktopShell.h"

#include <QDir>
#include <QStringList>
#include <QUrl>

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

namespace kestrova::testing {

namespace {

// Stands in for the desktop's file manager on the private bus.
class FakeFileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    struct Request {
        QStringList uris;
        QString startupId;
    };

    std::vector<Request> Requests() const
    {
        std::lock_guard lock(mutex_);
        return requests_;
    }

public slots:
    void ShowItems(const QStringList& uris, const QString& startupId)
    {
        std::lock_guard lock(mutex_);
        requests_.push_back({uris, startupId});
    }

private:
    mutable std::mutex mutex_;
    std::vector<Request> requests_;
};

// Records what would have been handed to the desktop instead of opening it.
class RecordingDesktopShell : public platform::DesktopShell {
public:
    using DesktopShell::DesktopShell;
    std::vector<QUrl> opened;

protected:
    bool OpenUrl(const QUrl& url) override
    {
        opened.push_back(url);
        return true;
    }
};

const QString kItem = QStringLiteral("/tmp/kestrova out/clip #1 100%.mp4");

} // namespace

TEST(DesktopShellTest, ShowsTheFileThroughTheFileManager)
{
    PrivateBus bus;
    if (!bus.IsRunning())
        GTEST_SKIP() << "dbus-daemon is not installed";
    FakeFileManager* fileManager = bus.Publish(std::make_unique<FakeFileManager>(),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"));
    ASSERT_NE(fileManager, nullptr);
    RecordingDesktopShell shell(bus.Connect());

    EXPECT_TRUE(shell.ShowItem(kItem));

    const auto requests = fileManager->Requests();
    ASSERT_EQ(requests.size(), 1u);
    ASSERT_EQ(requests[0].uris.size(), 1);
    // The whole name survives the trip as one file URL: blanks, '#' and '%' included.
    EXPECT_EQ(QUrl(requests[0].uris[0]).toLocalFile(), kItem);
    EXPECT_TRUE(requests[0].uris[0].startsWith(QStringLiteral("file:///tmp/")));
    EXPECT_TRUE(requests[0].startupId.isEmpty());
    EXPECT_TRUE(shell.opened.empty());
}

TEST(DesktopShellTest, OpensTheFolderWhenNoFileManagerAnswers)
{
    PrivateBus bus;
    if (!bus.IsRunning())
        GTEST_SKIP() << "dbus-daemon is not installed";
    RecordingDesktopShell shell(bus.Connect());

    EXPECT_TRUE(shell.ShowItem(kItem));

    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0].toLocalFile(), QStringLiteral("/tmp/kestrova out"));
}

TEST(DesktopShellTest, OpensTheFolderWithoutABus)
{
    RecordingDesktopShell shell(QDBusConnection(QStringLiteral("kestrova-never-connected")));

    EXPECT_TRUE(shell.ShowItem(kItem));

    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0].toLocalFile(), QStringLiteral("/tmp/kestrova out"));
}

TEST(DesktopShellTest, NothingToShowForAnEmptyPath)
{
    RecordingDesktopShell shell(QDBusConnection(QStringLiteral("kestrova-never-connected")));
    EXPECT_FALSE(shell.ShowItem(QString()));
    EXPECT_FALSE(shell.Open(QString()));
    EXPECT_TRUE(shell.opened.empty());
}

TEST(ShellTargetUrlTest, PathsBecomeFileUrlsOfTheWholeName)
{
    EXPECT_EQ(platform::ShellTargetUrl(kItem).toLocalFile(), kItem);
    EXPECT_EQ(platform::ShellTargetUrl(QStringLiteral("/srv/videos/")).toLocalFile(),
              QStringLiteral("/srv/videos/"));
}

TEST(ShellTargetUrlTest, RelativePathsAreTakenFromTheCurrentFolder)
{
    EXPECT_EQ(platform::ShellTargetUrl(QStringLiteral("clip.mp4")).toLocalFile(),
              QDir::current().absoluteFilePath(QStringLiteral("clip.mp4")));
}

TEST(ShellTargetUrlTest, WebAddressesStayAddresses)
{
    const QString page = QStringLiteral("https://example.org/help?topic=a b#start");
    const QUrl url = platform::ShellTargetUrl(page);
    EXPECT_EQ(url.scheme(), QStringLiteral("https"));
    EXPECT_EQ(url.host(), QStringLiteral("example.org"));
    EXPECT_EQ(url.fragment(), QStringLiteral("start"));
    EXPECT_EQ(platform::ShellTargetUrl(QStringLiteral("mailto:someone@example.org")).scheme(),
              QStringLiteral("mailto"));
}

} // namespace kestrova::testing

#include "DesktopShellTest.moc"
