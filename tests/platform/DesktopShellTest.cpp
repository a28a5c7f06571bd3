#include "platform/DesktopShell.h"
#include "tests/platform/PrivateBus.h"

#include <QDir>
#include <QStringList>
#include <QUrl>

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

namespace kestrova::testing {

namespace {

// Stands in for the desktop's file manager on the private bus.
class TFakeFileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    struct TRequest {
        QStringList Uris;
        QString StartupId;
    };

    std::vector<TRequest> Requests() const {
        std::lock_guard lock(FMutex);
        return FRequests;
    }

public slots:
    void ShowItems(const QStringList& uris, const QString& startupId) {
        std::lock_guard lock(FMutex);
        FRequests.push_back({uris, startupId});
    }

private:
    mutable std::mutex FMutex;
    std::vector<TRequest> FRequests;
};

// Records what would have been handed to the desktop instead of opening it.
class TRecordingDesktopShell : public platform::TDesktopShell {
public:
    using TDesktopShell::TDesktopShell;
    std::vector<QUrl> Opened;

protected:
    bool OpenUrl(const QUrl& url) override {
        Opened.push_back(url);
        return true;
    }
};

const QString kItem = QStringLiteral("/tmp/kestrova out/clip #1 100%.mp4");

}  // namespace

TEST(DesktopShellTest, ShowsTheFileThroughTheFileManager) {
    TPrivateBus bus;
    if (!bus.IsRunning()) GTEST_SKIP() << "dbus-daemon is not installed";
    TFakeFileManager* fileManager =
            bus.Publish(std::make_unique<TFakeFileManager>(), QStringLiteral("org.freedesktop.FileManager1"),
                        QStringLiteral("/org/freedesktop/FileManager1"));
    ASSERT_NE(fileManager, nullptr);
    TRecordingDesktopShell shell(bus.Connect());

    EXPECT_TRUE(shell.ShowItem(kItem));

    const auto requests = fileManager->Requests();
    ASSERT_EQ(requests.size(), 1u);
    ASSERT_EQ(requests[0].Uris.size(), 1);
    // The whole name survives the trip as one file URL: blanks, '#' and '%' included.
    EXPECT_EQ(QUrl(requests[0].Uris[0]).toLocalFile(), kItem);
    EXPECT_TRUE(requests[0].Uris[0].startsWith(QStringLiteral("file:///tmp/")));
    EXPECT_TRUE(requests[0].StartupId.isEmpty());
    EXPECT_TRUE(shell.Opened.empty());
}

TEST(DesktopShellTest, OpensTheFolderWhenNoFileManagerAnswers) {
    TPrivateBus bus;
    if (!bus.IsRunning()) GTEST_SKIP() << "dbus-daemon is not installed";
    TRecordingDesktopShell shell(bus.Connect());

    EXPECT_TRUE(shell.ShowItem(kItem));

    ASSERT_EQ(shell.Opened.size(), 1u);
    EXPECT_EQ(shell.Opened[0].toLocalFile(), QStringLiteral("/tmp/kestrova out"));
}

TEST(DesktopShellTest, OpensTheFolderWithoutABus) {
    TRecordingDesktopShell shell(QDBusConnection(QStringLiteral("kestrova-never-connected")));

    EXPECT_TRUE(shell.ShowItem(kItem));

    ASSERT_EQ(shell.Opened.size(), 1u);
    EXPECT_EQ(shell.Opened[0].toLocalFile(), QStringLiteral("/tmp/kestrova out"));
}

TEST(DesktopShellTest, NothingToShowForAnEmptyPath) {
    TRecordingDesktopShell shell(QDBusConnection(QStringLiteral("kestrova-never-connected")));
    EXPECT_FALSE(shell.ShowItem(QString()));
    EXPECT_FALSE(shell.Open(QString()));
    EXPECT_TRUE(shell.Opened.empty());
}

TEST(ShellTargetUrlTest, PathsBecomeFileUrlsOfTheWholeName) {
    EXPECT_EQ(platform::ShellTargetUrl(kItem).toLocalFile(), kItem);
    EXPECT_EQ(platform::ShellTargetUrl(QStringLiteral("/srv/videos/")).toLocalFile(),
              QStringLiteral("/srv/videos/"));
}

TEST(ShellTargetUrlTest, RelativePathsAreTakenFromTheCurrentFolder) {
    EXPECT_EQ(platform::ShellTargetUrl(QStringLiteral("clip.mp4")).toLocalFile(),
              QDir::current().absoluteFilePath(QStringLiteral("clip.mp4")));
}

TEST(ShellTargetUrlTest, WebAddressesStayAddresses) {
    const QString page = QStringLiteral("https://example.org/help?topic=a b#start");
    const QUrl url = platform::ShellTargetUrl(page);
    EXPECT_EQ(url.scheme(), QStringLiteral("https"));
    EXPECT_EQ(url.host(), QStringLiteral("example.org"));
    EXPECT_EQ(url.fragment(), QStringLiteral("start"));
    EXPECT_EQ(platform::ShellTargetUrl(QStringLiteral("mailto:someone@example.org")).scheme(),
              QStringLiteral("mailto"));
}

}  // namespace kestrova::testing

#include "DesktopShellTest.moc"
