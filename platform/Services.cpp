#include "platform/Services.h"

#include "platform/DesktopShell.h"
#include "platform/FileDialogFolderBrowser.h"
#include "platform/InputDialogTextPrompt.h"
#include "platform/LogindPowerControl.h"
#include "platform/MountDriveInfo.h"
#include "platform/XdgUserFolders.h"

namespace kestrova::platform {

namespace {

template <class Service>
struct Slot {
    std::unique_ptr<Service> installed;
    std::unique_ptr<Service> native;  // the Linux implementation, made on first use
};

template <class Service>
Slot<Service>& SlotOf()
{
    static Slot<Service> slot;
    return slot;
}

template <class Service> std::unique_ptr<Service> MakeLinuxService();
template <> std::unique_ptr<Shell> MakeLinuxService() { return std::make_unique<DesktopShell>(); }
template <> std::unique_ptr<PowerControl> MakeLinuxService() { return std::make_unique<LogindPowerControl>(); }
template <> std::unique_ptr<FolderBrowser> MakeLinuxService() { return std::make_unique<FileDialogFolderBrowser>(); }
template <> std::unique_ptr<TextPrompt> MakeLinuxService() { return std::make_unique<InputDialogTextPrompt>(); }
template <> std::unique_ptr<UserFolders> MakeLinuxService() { return std::make_unique<XdgUserFolders>(); }
template <> std::unique_ptr<DriveInfo> MakeLinuxService() { return std::make_unique<MountDriveInfo>(); }

} // namespace

template <class Service>
Service& Use()
{
    Slot<Service>& slot = SlotOf<Service>();
    if (slot.installed)
        return *slot.installed;
    if (!slot.native)
        slot.native = MakeLinuxService<Service>();
    return *slot.native;
}

template <class Service>
std::unique_ptr<Service> Install(std::unique_ptr<Service> replacement)
{
    return std::exchange(SlotOf<Service>().installed, std::move(replacement));
}

#define KESTROVA_PLATFORM_SERVICE(Service) \
    template Service& Use<Service>(); \
    template std::unique_ptr<Service> Install<Service>(std::unique_ptr<Service>);

KESTROVA_PLATFORM_SERVICE(Shell)
KESTROVA_PLATFORM_SERVICE(PowerControl)
KESTROVA_PLATFORM_SERVICE(FolderBrowser)
KESTROVA_PLATFORM_SERVICE(TextPrompt)
KESTROVA_PLATFORM_SERVICE(UserFolders)
KESTROVA_PLATFORM_SERVICE(DriveInfo)

#undef KESTROVA_PLATFORM_SERVICE

} // namespace kestrova::platform
