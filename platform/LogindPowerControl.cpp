#include "platform/LogindPowerControl.h"

#include <QDBusMessage>

namespace kestrova::platform {

namespace {
constexpr auto kLoginService = "org.freedesktop.login1";
constexpr auto kLoginPath = "/org/freedesktop/login1";
constexpr auto kLoginManagerInterface = "org.freedesktop.login1.Manager";
constexpr int kLoginTimeoutMs = 10000;
}  // namespace

TLogindPowerControl::TLogindPowerControl(const QDBusConnection& bus) : FBus(bus) {}

bool TLogindPowerControl::PowerOff() {
    const QDBusConnection bus = FBus ? *FBus : QDBusConnection::systemBus();
    if (!bus.isConnected()) return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
            QString::fromLatin1(kLoginService), QString::fromLatin1(kLoginPath),
            QString::fromLatin1(kLoginManagerInterface), QStringLiteral("PowerOff"));
    // Not interactive: the run ends unattended, so no password prompt may wait for an answer.
    call << false;
    return bus.call(call, QDBus::Block, kLoginTimeoutMs).type() == QDBusMessage::ReplyMessage;
}

}  // namespace kestrova::platform
