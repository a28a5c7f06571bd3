#pragma once
// A private message bus for the suite: a dbus-daemon of its own, with no service activation,
// so that tests can stand up fake desktop services without touching the user's or the
// system's bus.
#include <QDBusConnection>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QThread>

#include <QStringList>

#include <memory>
#include <vector>

namespace kestrova::testing {

class TPrivateBus {
public:
    TPrivateBus();
    ~TPrivateBus();

    TPrivateBus(const TPrivateBus&) = delete;
    TPrivateBus& operator=(const TPrivateBus&) = delete;

    // False when no bus daemon could be started (the daemon is not installed).
    bool IsRunning() const { return !FAddress.isEmpty(); }

    // A new client connection to the bus, closed with the bus.
    QDBusConnection Connect();

    // Publishes the object under a well-known service name on the services' connection and
    // keeps it until the bus ends. The object moves to the services' thread, so that a
    // blocking call from the test thread is answered.
    template <class Service>
    Service* Publish(std::unique_ptr<Service> object, const QString& service, const QString& path) {
        Service* published = object.get();
        return PublishObject(std::move(object), service, path) ? published : nullptr;
    }

private:
    bool PublishObject(std::unique_ptr<QObject> object, const QString& service, const QString& path);
    QDBusConnection ConnectAs(const QString& name);

    QTemporaryDir FFolder;
    QProcess FDaemon;
    QString FAddress;
    QThread FServiceThread;
    QStringList FConnections;
    std::vector<std::unique_ptr<QObject>> FServices;
};

}  // namespace kestrova::testing
