#pragma once
#include "platform/PowerControl.h"

#include <QDBusConnection>

#include <optional>

namespace kestrova::platform {

// Powers off through systemd-logind on the system bus. The login manager applies the
// system's own policy (who may power off, which inhibitors hold it up).
class LogindPowerControl : public PowerControl {
public:
    LogindPowerControl() = default;
    // Sends the request over the given bus instead of the system bus.
    explicit LogindPowerControl(const QDBusConnection& bus);

    bool PowerOff() override;

private:
    std::optional<QDBusConnection> bus_;
};

} // namespace kestrova::platform
