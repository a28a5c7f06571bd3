#include "tests/platform/PrivateBus.h"

#include <QFile>
#include <QStandardPaths>

namespace kestrova::testing {

namespace {

const char* const kBusConfiguration =
        R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=%1</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

}  // namespace

TPrivateBus::TPrivateBus() {
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty() || !FFolder.isValid()) return;
    const QString configuration = FFolder.filePath(QStringLiteral("bus.conf"));
    QFile file(configuration);
    if (!file.open(QIODevice::WriteOnly)) return;
    file.write(QString::fromLatin1(kBusConfiguration).arg(FFolder.path()).toUtf8());
    file.close();

    FDaemon.start(daemon, {QStringLiteral("--config-file=") + configuration, QStringLiteral("--nofork"),
                           QStringLiteral("--nopidfile"), QStringLiteral("--print-address=1")});
    if (!FDaemon.waitForStarted(5000)) return;
    while (!FDaemon.canReadLine() && FDaemon.waitForReadyRead(5000)) {}
    FAddress = QString::fromUtf8(FDaemon.readLine()).trimmed();
}

TPrivateBus::~TPrivateBus() {
    FServiceThread.quit();
    FServiceThread.wait();
    FServices.clear();
    for (const QString& name : FConnections) QDBusConnection::disconnectFromBus(name);
    if (FDaemon.state() != QProcess::NotRunning) {
        FDaemon.kill();
        FDaemon.waitForFinished(5000);
    }
}

QDBusConnection TPrivateBus::ConnectAs(const QString& name) {
    FConnections << name;
    return QDBusConnection::connectToBus(FAddress, name);
}

QDBusConnection TPrivateBus::Connect() {
    return ConnectAs(QStringLiteral("kestrova-test-client-%1").arg(FConnections.size()));
}

bool TPrivateBus::PublishObject(std::unique_ptr<QObject> object, const QString& service,
                                const QString& path) {
    if (!FServiceThread.isRunning()) FServiceThread.start();
    object->moveToThread(&FServiceThread);
    QDBusConnection connection =
            ConnectAs(QStringLiteral("kestrova-test-service-%1").arg(FConnections.size()));
    const bool published = connection.isConnected() && connection.registerService(service) &&
                           connection.registerObject(path, object.get(), QDBusConnection::ExportAllSlots);
    FServices.push_back(std::move(object));
    return published;
}

}  // namespace kestrova::testing
