#pragma once
// The process-wide registry of desktop services. Every caller reaches a service through
// Use<Service>(); the Linux implementation serves unless another one was installed, which is
// how tests record shell and power-off requests instead of acting on them.
// Services are used and replaced from the main thread only.
#include "platform/DriveInfo.h"
#include "platform/FolderBrowser.h"
#include "platform/PowerControl.h"
#include "platform/Shell.h"
#include "platform/TextPrompt.h"
#include "platform/UserFolders.h"

#include <memory>
#include <utility>

namespace kestrova::platform {

// The service in effect: the installed one, else the Linux implementation.
// Available for Shell, PowerControl, FolderBrowser, TextPrompt, UserFolders and DriveInfo.
template <class Service>
Service& Use();

// Installs a replacement (nullptr restores the Linux implementation) and hands back the
// replacement that was installed before, if any.
template <class Service>
std::unique_ptr<Service> Install(std::unique_ptr<Service> replacement);

inline std::unique_ptr<Shell> SetShellService(std::unique_ptr<Shell> shell)
{
    return Install<Shell>(std::move(shell));
}

inline std::unique_ptr<PowerControl> SetPowerControl(std::unique_ptr<PowerControl> power)
{
    return Install<PowerControl>(std::move(power));
}

// Installs a replacement for the lifetime of this object, then puts the previous one back.
template <class Service>
class ScopedService {
public:
    explicit ScopedService(std::unique_ptr<Service> replacement)
        : service_(replacement.get()), previous_(Install<Service>(std::move(replacement))) {}
    ~ScopedService() { Install<Service>(std::move(previous_)); }

    ScopedService(const ScopedService&) = delete;
    ScopedService& operator=(const ScopedService&) = delete;

    Service& operator*() const { return *service_; }
    Service* operator->() const { return service_; }

private:
    Service* service_;
    std::unique_ptr<Service> previous_;
};

} // namespace kestrova::platform
