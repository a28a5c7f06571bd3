#pragma once
// The process-wide registry of desktop services. Every caller reaches a service through
// Use<Service>(); the Linux implementation serves unless another one was installed, which is
// how tests record shell and power-off requests instead of acting on them.
// Services are used and replaced from the main thread only.
#include "platform/DriveInfo.h"
#include "platform/FolderBrowser.h"
#include "platform/PowerControl.h"
#include "platform/ProcessorTimes.h"
#include "platform/Shell.h"
#include "platform/TextPrompt.h"
#include "platform/UserFolders.h"

#include <memory>
#include <utility>

namespace kestrova::platform {

// The service in effect: the installed one, else the Linux implementation.
// Available for TShell, TPowerControl, TFolderBrowser, TTextPrompt, TUserFolders, TDriveInfo and
// TProcessorTimes.
template <class Service>
Service& Use();

// Installs a replacement (nullptr restores the Linux implementation) and hands back the
// replacement that was installed before, if any.
template <class Service>
std::unique_ptr<Service> Install(std::unique_ptr<Service> replacement);

inline std::unique_ptr<TShell> SetShellService(std::unique_ptr<TShell> shell) {
    return Install<TShell>(std::move(shell));
}

inline std::unique_ptr<TPowerControl> SetPowerControl(std::unique_ptr<TPowerControl> power) {
    return Install<TPowerControl>(std::move(power));
}

// Installs a replacement for the lifetime of this object, then puts the previous one back.
template <class Service>
class TScopedService {
public:
    explicit TScopedService(std::unique_ptr<Service> replacement)
        : FService(replacement.get()), FPrevious(Install<Service>(std::move(replacement))) {}
    ~TScopedService() { Install<Service>(std::move(FPrevious)); }

    TScopedService(const TScopedService&) = delete;
    TScopedService& operator=(const TScopedService&) = delete;

    Service& operator*() const { return *FService; }
    Service* operator->() const { return FService; }

private:
    Service* FService;
    std::unique_ptr<Service> FPrevious;
};

}  // namespace kestrova::platform
