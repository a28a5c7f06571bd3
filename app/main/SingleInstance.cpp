#include "app/main/SingleInstance.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QtEndian>

#include <unistd.h>

namespace kestrova {

namespace {

constexpr quint32 kHandOverMagic = 0x4b455354;  // "KEST"
constexpr qint64 kMaxMessageBytes = 4 * 1024 * 1024;
constexpr char kConfirmation = '1';

// The user's runtime folder (private to the user), else the temporary folder.
QString ChannelFolder() {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

QString ChannelStem(const QString& settingsFile) {
    const QByteArray key = QFileInfo(settingsFile).absoluteFilePath().toUtf8();
    const QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16);
    return ChannelFolder() + QStringLiteral("/kestrova-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
}

}  // namespace

TSingleInstance::TSingleInstance(const QString& settingsFile, QObject* parent)
    : QObject(parent), FSocketPath(ChannelStem(settingsFile) + QStringLiteral(".socket")),
      FLock(ChannelStem(settingsFile) + QStringLiteral(".lock")) {
    // Only a lock whose program has gone is stale, however long the program has been running.
    FLock.setStaleLockTime(0);
}

TSingleInstance::~TSingleInstance() {
    if (FServer) FServer->close();
}

bool TSingleInstance::BecomeTheRunningProgram() {
    // A lock that cannot be made at all (no writable runtime folder) does not keep the
    // program from running; only one another program holds does.
    if (!FLock.tryLock(0)) return FLock.error() != QLockFile::LockFailedError;
    // The lock is ours: a socket file left there belongs to a program that has gone.
    QLocalServer::removeServer(FSocketPath);
    FServer = std::make_unique<QLocalServer>();
    FServer->setSocketOptions(QLocalServer::UserAccessOption);
    connect(FServer.get(), &QLocalServer::newConnection, this, &TSingleInstance::TakeConnection);
    // Without the socket the program still runs; later starts then find no one to hand to.
    FServer->listen(FSocketPath);
    return true;
}

bool TSingleInstance::HandOver(const QStringList& files, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    QLocalSocket socket;
    // The running program may have taken the lock a moment ago and be about to listen.
    for (;;) {
        socket.connectToServer(FSocketPath);
        if (socket.waitForConnected(500)) break;
        if (clock.elapsed() > timeoutMs) return false;
        QThread::msleep(100);
    }
    QByteArray message;
    QDataStream stream(&message, QIODevice::WriteOnly);
    stream << kHandOverMagic << files;
    QDataStream(&socket) << static_cast<qint64>(message.size());
    socket.write(message);
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
    while (socket.bytesAvailable() < 1)
        if (!socket.waitForReadyRead(static_cast<int>(std::max<qint64>(1, timeoutMs - clock.elapsed()))))
            return false;
    char answer = 0;
    return socket.getChar(&answer) && answer == kConfirmation;
}

// Reads one hand-over as it arrives, confirms it, and passes its files on.
void TSingleInstance::TakeConnection() {
    while (QLocalSocket* socket = FServer->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            qint64 size = 0;
            if (socket->bytesAvailable() < static_cast<qint64>(sizeof size)) return;
            socket->peek(reinterpret_cast<char*>(&size), sizeof size);
            size = qFromBigEndian(size);
            if (size < 0 || size > kMaxMessageBytes) {
                socket->abort();
                return;
            }
            if (socket->bytesAvailable() < static_cast<qint64>(sizeof size) + size) return;
            socket->skip(sizeof size);
            QDataStream stream(socket->read(size));
            quint32 magic = 0;
            QStringList files;
            stream >> magic >> files;
            if (magic != kHandOverMagic || stream.status() != QDataStream::Ok) {
                socket->abort();
                return;
            }
            socket->putChar(kConfirmation);
            socket->flush();
            QStringList absolute;
            for (const QString& file : files)
                if (QFileInfo(file).isAbsolute()) absolute << file;
            emit FilesHanded(absolute);
        });
    }
}

}  // namespace kestrova
