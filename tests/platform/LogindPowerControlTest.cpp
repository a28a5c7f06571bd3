#include "platform/LogindPowerControl.h"
#include "tests/platform/PrivateBus.h"

#include <QDBusContext>

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

namespace kestrova::testing {

namespace {

// Stands in for systemd-logind on the private bus, so nothing is ever powered off.
class TFakeLoginManager : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

public:
    explicit TFakeLoginManager(bool refuse) : FRefuse(refuse) {}

    std::vector<bool> PowerOffRequests() const {
        std::lock_guard lock(FMutex);
        return FRequests;
    }

public slots:
    void PowerOff(bool interactive) {
        {
            std::lock_guard lock(FMutex);
            FRequests.push_back(interactive);
        }
        if (FRefuse)
            sendErrorReply(QDBusError::AccessDenied, QStringLiteral("Interactive authentication required."));
    }

private:
    const bool FRefuse;
    mutable std::mutex FMutex;
    std::vector<bool> FRequests;
};

TFakeLoginManager* PublishLoginManager(TPrivateBus& bus, bool refuse) {
    return bus.Publish(std::make_unique<TFakeLoginManager>(refuse), QStringLiteral("org.freedesktop.login1"),
                       QStringLiteral("/org/freedesktop/login1"));
}

}  // namespace

TEST(LogindPowerControlTest, AsksTheLoginManagerWithoutInteraction) {
    TPrivateBus bus;
    if (!bus.IsRunning()) GTEST_SKIP() << "dbus-daemon is not installed";
    TFakeLoginManager* logind = PublishLoginManager(bus, false);
    ASSERT_NE(logind, nullptr);
    platform::TLogindPowerControl power(bus.Connect());

    EXPECT_TRUE(power.PowerOff());
    EXPECT_EQ(logind->PowerOffRequests(), std::vector<bool>{false});
}

TEST(LogindPowerControlTest, ARefusalIsFalse) {
    TPrivateBus bus;
    if (!bus.IsRunning()) GTEST_SKIP() << "dbus-daemon is not installed";
    TFakeLoginManager* logind = PublishLoginManager(bus, true);
    ASSERT_NE(logind, nullptr);
    platform::TLogindPowerControl power(bus.Connect());

    EXPECT_FALSE(power.PowerOff());
    EXPECT_EQ(logind->PowerOffRequests().size(), 1u);
}

TEST(LogindPowerControlTest, NoLoginManagerIsFalse) {
    TPrivateBus bus;
    if (!bus.IsRunning()) GTEST_SKIP() << "dbus-daemon is not installed";
    platform::TLogindPowerControl power(bus.Connect());
    EXPECT_FALSE(power.PowerOff());
}

TEST(LogindPowerControlTest, NoBusIsFalse) {
    platform::TLogindPowerControl power(QDBusConnection(QStringLiteral("kestrova-never-connected")));
    EXPECT_FALSE(power.PowerOff());
}

}  // namespace kestrova::testing

#include "LogindPowerControlTest.moc"
