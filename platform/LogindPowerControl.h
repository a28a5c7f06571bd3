#pragma once
#include "platform/PowerControl.h"

#include <QDBusConnection>

#include <optional>

namespace kestrova::platform {

// Powers off through systemd-logind on the system bus. The login manager applies the
// system's own policy (who may power off, which inhibitors hold it up).
class TLogindPowerControl : public TPowerControl {
public:
    TLogindPowerControl() = default;
    // Sends the request over the given bus instead of the system bus.
    explicit TLogindPowerControl(const QDBusConnection& bus);

    bool PowerOff() override;

private:
    std::optional<QDBusConnection> FBus;
};

}  // namespace kestrova::platform
