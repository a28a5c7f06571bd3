#include "platform/Services.h"

#include "platform/DesktopShell.h"
#include "platform/FileDialogFolderBrowser.h"
#include "platform/InputDialogTextPrompt.h"
#include "platform/LogindPowerControl.h"
#include "platform/MountDriveInfo.h"
#include "platform/ProcStatProcessorTimes.h"
#include "platform/XdgUserFolders.h"

namespace kestrova::platform {

namespace {

template <class Service>
struct TSlot {
    std::unique_ptr<Service> Installed;
    std::unique_ptr<Service> Native;  // the Linux implementation, made on first use
};

template <class Service>
TSlot<Service>& SlotOf() {
    static TSlot<Service> slot;
    return slot;
}

template <class Service>
std::unique_ptr<Service> MakeLinuxService();
template <>
std::unique_ptr<TShell> MakeLinuxService() {
    return std::make_unique<TDesktopShell>();
}
template <>
std::unique_ptr<TPowerControl> MakeLinuxService() {
    return std::make_unique<TLogindPowerControl>();
}
template <>
std::unique_ptr<TFolderBrowser> MakeLinuxService() {
    return std::make_unique<TFileDialogFolderBrowser>();
}
template <>
std::unique_ptr<TTextPrompt> MakeLinuxService() {
    return std::make_unique<TInputDialogTextPrompt>();
}
template <>
std::unique_ptr<TUserFolders> MakeLinuxService() {
    return std::make_unique<TXdgUserFolders>();
}
template <>
std::unique_ptr<TDriveInfo> MakeLinuxService() {
    return std::make_unique<TMountDriveInfo>();
}
template <>
std::unique_ptr<TProcessorTimes> MakeLinuxService() {
    return std::make_unique<TProcStatProcessorTimes>();
}

}  // namespace

template <class Service>
Service& Use() {
    TSlot<Service>& slot = SlotOf<Service>();
    if (slot.Installed) return *slot.Installed;
    if (!slot.Native) slot.Native = MakeLinuxService<Service>();
    return *slot.Native;
}

template <class Service>
std::unique_ptr<Service> Install(std::unique_ptr<Service> replacement) {
    return std::exchange(SlotOf<Service>().Installed, std::move(replacement));
}

#define KESTROVA_PLATFORM_SERVICE(Service)                                                                   \
    template Service& Use<Service>();                                                                        \
    template std::unique_ptr<Service> Install<Service>(std::unique_ptr<Service>);

KESTROVA_PLATFORM_SERVICE(TShell)
KESTROVA_PLATFORM_SERVICE(TPowerControl)
KESTROVA_PLATFORM_SERVICE(TFolderBrowser)
KESTROVA_PLATFORM_SERVICE(TTextPrompt)
KESTROVA_PLATFORM_SERVICE(TUserFolders)
KESTROVA_PLATFORM_SERVICE(TDriveInfo)
KESTROVA_PLATFORM_SERVICE(TProcessorTimes)

#undef KESTROVA_PLATFORM_SERVICE

}  // namespace kestrova::platform
