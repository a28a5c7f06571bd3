#include "platform/Services.h"
#include "platform/DesktopShell.h"
#include "platform/FileDialogFolderBrowser.h"
#include "platform/InputDialogTextPrompt.h"
#include "platform/LogindPowerControl.h"
#include "platform/MountDriveInfo.h"
#include "platform/XdgUserFolders.h"

#include <gtest/gtest.h>

namespace kestrova::testing {

namespace {

class TNullShell : public platform::TShell {
public:
    bool Open(const QString&) override { return false; }
    bool ShowItem(const QString&) override { return false; }
};

}  // namespace

TEST(ServicesTest, TheLinuxImplementationsServeByDefault) {
    EXPECT_NE(dynamic_cast<platform::TDesktopShell*>(&platform::Use<platform::TShell>()), nullptr);
    EXPECT_NE(dynamic_cast<platform::TLogindPowerControl*>(&platform::Use<platform::TPowerControl>()),
              nullptr);
    EXPECT_NE(dynamic_cast<platform::TFileDialogFolderBrowser*>(&platform::Use<platform::TFolderBrowser>()),
              nullptr);
    EXPECT_NE(dynamic_cast<platform::TInputDialogTextPrompt*>(&platform::Use<platform::TTextPrompt>()),
              nullptr);
    EXPECT_NE(dynamic_cast<platform::TXdgUserFolders*>(&platform::Use<platform::TUserFolders>()), nullptr);
    EXPECT_NE(dynamic_cast<platform::TMountDriveInfo*>(&platform::Use<platform::TDriveInfo>()), nullptr);
}

TEST(ServicesTest, AnInstalledServiceServesUntilItsScopeEnds) {
    platform::TShell* outer = nullptr;
    {
        platform::TScopedService<platform::TShell> first(std::make_unique<TNullShell>());
        outer = &*first;
        EXPECT_EQ(&platform::Use<platform::TShell>(), outer);
        {
            platform::TScopedService<platform::TShell> second(std::make_unique<TNullShell>());
            EXPECT_EQ(&platform::Use<platform::TShell>(), &*second);
        }
        EXPECT_EQ(&platform::Use<platform::TShell>(), outer);
    }
    EXPECT_NE(dynamic_cast<platform::TDesktopShell*>(&platform::Use<platform::TShell>()), nullptr);
}

TEST(ServicesTest, InstallingHandsBackThePreviousReplacement) {
    auto replacement = std::make_unique<TNullShell>();
    platform::TShell* installed = replacement.get();
    EXPECT_EQ(platform::SetShellService(std::move(replacement)), nullptr);
    const std::unique_ptr<platform::TShell> previous = platform::SetShellService(nullptr);
    EXPECT_EQ(previous.get(), installed);
    EXPECT_NE(dynamic_cast<platform::TDesktopShell*>(&platform::Use<platform::TShell>()), nullptr);
}

}  // namespace kestrova::testing
