#include "platform/DesktopShell.h"
#include "platform/FileDialogFolderBrowser.h"
#include "platform/InputDialogTextPrompt.h"
#include "platform/LogindPowerControl.h"
#include "platform/MountDriveInfo.h"
#include "platform/Services.h"
#include "platform/XdgUserFolders.h"

#include <gtest/gtest.h>

namespace kestrova::testing {

namespace {

class NullShell : public platform::Shell {
public:
    bool Open(const QString&) override { return false; }
    bool ShowItem(const QString&) override { return false; }
};

} // namespace

TEST(ServicesTest, TheLinuxImplementationsServeByDefault)
{
    EXPECT_NE(dynamic_cast<platform::DesktopShell*>(&platform::Use<platform::Shell>()), nullptr);
    EXPECT_NE(dynamic_cast<platform::LogindPowerControl*>(&platform::Use<platform::PowerControl>()), nullptr);
    EXPECT_NE(dynamic_cast<platform::FileDialogFolderBrowser*>(&platform::Use<platform::FolderBrowser>()), nullptr);
    EXPECT_NE(dynamic_cast<platform::InputDialogTextPrompt*>(&platform::Use<platform::TextPrompt>()), nullptr);
    EXPECT_NE(dynamic_cast<platform::XdgUserFolders*>(&platform::Use<platform::UserFolders>()), nullptr);
    EXPECT_NE(dynamic_cast<platform::MountDriveInfo*>(&platform::Use<platform::DriveInfo>()), nullptr);
}

TEST(ServicesTest, AnInstalledServiceServesUntilItsScopeEnds)
{
    platform::Shell* outer = nullptr;
    {
        platform::ScopedService<platform::Shell> first(std::make_unique<NullShell>());
        outer = &*first;
        EXPECT_EQ(&platform::Use<platform::Shell>(), outer);
        {
            platform::ScopedService<platform::Shell> second(std::make_unique<NullShell>());
            EXPECT_EQ(&platform::Use<platform::Shell>(), &*second);
        }
        EXPECT_EQ(&platform::Use<platform::Shell>(), outer);
    }
    EXPECT_NE(dynamic_cast<platform::DesktopShell*>(&platform::Use<platform::Shell>()), nullptr);
}

TEST(ServicesTest, InstallingHandsBackThePreviousReplacement)
{
    auto replacement = std::make_unique<NullShell>();
    platform::Shell* installed = replacement.get();
    EXPECT_EQ(platform::SetShellService(std::move(replacement)), nullptr);
    const std::unique_ptr<platform::Shell> previous = platform::SetShellService(nullptr);
    EXPECT_EQ(previous.get(), installed);
    EXPECT_NE(dynamic_cast<platform::DesktopShell*>(&platform::Use<platform::Shell>()), nullptr);
}

} // namespace kestrova::testing
