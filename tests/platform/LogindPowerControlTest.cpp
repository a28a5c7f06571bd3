#include "tests/platform/PrivateBus.h"
#include "platform/LogindPowerControl.h"

#include <QDBusContext>

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

namespace kestrova::testing {

namespace {

// Stands in for systemd-logind on the private bus, so nothing is ever powered off.
class FakeLoginManager : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

public:
    explicit FakeLoginManager(bool refuse) : refuse_(refuse) {}

    std::vector<bool> PowerOffRequests() const
    {
        std::lock_guard lock(mutex_);
        return requests_;
    }

public slots:
    void PowerOff(bool interactive)
    {
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(interactive);
        }
        if (refuse_)
            sendErrorReply(QDBusError::AccessDenied, QStringLiteral("Interactive authentication required."));
    }

private:
    const bool refuse_;
    mutable std::mutex mutex_;
    std::vector<bool> requests_;
};

FakeLoginManager* PublishLoginManager(PrivateBus& bus, bool refuse)
{
    return bus.Publish(std::make_unique<FakeLoginManager>(refuse), QStringLiteral("org.freedesktop.login1"),
                       QStringLiteral("/org/freedesktop/login1"));
}

} // namespace

TEST(LogindPowerControlTest, AsksTheLoginManagerWithoutInteraction)
{
    PrivateBus bus;
    if (!bus.IsRunning())
        GTEST_SKIP() << "dbus-daemon is not installed";
    FakeLoginManager* logind = PublishLoginManager(bus, false);
    ASSERT_NE(logind, nullptr);
    platform::LogindPowerControl power(bus.Connect());

    EXPECT_TRUE(power.PowerOff());
    EXPECT_EQ(logind->PowerOffRequests(), std::vector<bool>{false});
}

TEST(LogindPowerControlTest, ARefusalIsFalse)
{
    PrivateBus bus;
    if (!bus.IsRunning())
        GTEST_SKIP() << "dbus-daemon is not installed";
    FakeLoginManager* logind = PublishLoginManager(bus, true);
    ASSERT_NE(logind, nullptr);
    platform::LogindPowerControl power(bus.Connect());

    EXPECT_FALSE(power.PowerOff());
    EXPECT_EQ(logind->PowerOffRequests().size(), 1u);
}

TEST(LogindPowerControlTest, NoLoginManagerIsFalse)
{
    PrivateBus bus;
    if (!bus.IsRunning())
        GTEST_SKIP() << "dbus-daemon is not installed";
    platform::LogindPowerControl power(bus.Connect());
    EXPECT_FALSE(power.PowerOff());
}

TEST(LogindPowerControlTest, NoBusIsFalse)
{
    platform::LogindPowerControl power(QDBusConnection(QStringLiteral("kestrova-never-connected")));
    EXPECT_FALSE(power.PowerOff());
}

} // namespace kestrova::testing

#include "LogindPowerControlTest.moc"
