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

class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();

    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    // False when no bus daemon could be started (the daemon is not installed).
    bool IsRunning() const { return !address_.isEmpty(); }

    // A new client connection to the bus, closed with the bus.
    QDBusConnection Connect();

    // Publishes the object under a well-known service name on the services' connection and
    // keeps it until the bus ends. The object moves to the services' thread, so that a
    // blocking call from the test thread is answered.
    template <class Service>
    Service* Publish(std::unique_ptr<Service> object, const QString& service, const QString& path)
    {
        Service* published = object.get();
        return PublishObject(std::move(object), service, path) ? published : nullptr;
    }

private:
    bool PublishObject(std::unique_ptr<QObject> object, const QString& service, const QString& path);
    QDBusConnection ConnectAs(const QString& name);

    QTemporaryDir folder_;
    QProcess daemon_;
    QString address_;
    QThread serviceThread_;
    QStringList connections_;
    std::vector<std::unique_ptr<QObject>> services_;
};

} // namespace kestrova::testing
