#include "tests/platform/PrivateBus.h"

#include <QFile>
#include <QStandardPaths>

namespace kestrova::testing {

namespace {

const char* const kBusConfiguration = R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
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

} // namespace

PrivateBus::PrivateBus()
{
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty() || !folder_.isValid())
        return;
    const QString configuration = folder_.filePath(QStringLiteral("bus.conf"));
    QFile file(configuration);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(QString::fromLatin1(kBusConfiguration).arg(folder_.path()).toUtf8());
    file.close();

    daemon_.start(daemon, {QStringLiteral("--config-file=") + configuration, QStringLiteral("--nofork"),
                           QStringLiteral("--nopidfile"), QStringLiteral("--print-address=1")});
    if (!daemon_.waitForStarted(5000))
        return;
    while (!daemon_.canReadLine() && daemon_.waitForReadyRead(5000)) {}
    address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
}

PrivateBus::~PrivateBus()
{
    serviceThread_.quit();
    serviceThread_.wait();
    services_.clear();
    for (const QString& name : connections_)
        QDBusConnection::disconnectFromBus(name);
    if (daemon_.state() != QProcess::NotRunning) {
        daemon_.kill();
        daemon_.waitForFinished(5000);
    }
}

QDBusConnection PrivateBus::ConnectAs(const QString& name)
{
    connections_ << name;
    return QDBusConnection::connectToBus(address_, name);
}

QDBusConnection PrivateBus::Connect()
{
    return ConnectAs(QStringLiteral("kestrova-test-client-%1").arg(connections_.size()));
}

bool PrivateBus::PublishObject(std::unique_ptr<QObject> object, const QString& service, const QString& path)
{
    if (!serviceThread_.isRunning())
        serviceThread_.start();
    object->moveToThread(&serviceThread_);
    QDBusConnection connection = ConnectAs(QStringLiteral("kestrova-test-service-%1").arg(connections_.size()));
    const bool published = connection.isConnected() && connection.registerService(service)
        && connection.registerObject(path, object.get(), QDBusConnection::ExportAllSlots);
    services_.push_back(std::move(object));
    return published;
}

} // namespace kestrova::testing
