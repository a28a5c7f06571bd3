#pragma once
// One running program per settings file: the first program started holds a lock beside a local
// socket and listens on it; a program started while it runs hands it the files it was given
// (which the running one takes up as if dropped) and ends, so that no two programs ever write
// the same Setting.ini and queue.json at once. Both live in the user's own runtime folder, named
// after the settings file: a portable copy elsewhere is a program of its own.
#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

namespace kestrova {

class TSingleInstance : public QObject {
    Q_OBJECT
public:
    explicit TSingleInstance(const QString& settingsFile, QObject* parent = nullptr);
    ~TSingleInstance() override;

    // Takes the lock and listens: true when this is now the program that runs (also when no
    // lock can be made here at all). False when another program holds the lock.
    bool BecomeTheRunningProgram();
    // Hands `files` to the running program; true once it confirmed (within `timeoutMs`).
    bool HandOver(const QStringList& files, int timeoutMs = 10000);

signals:
    // A program started later handed these files over (absolute paths; maybe none: it only
    // asked for the window).
    void FilesHanded(const QStringList& files);

private:
    void TakeConnection();

    QString FSocketPath;
    QLockFile FLock;
    std::unique_ptr<QLocalServer> FServer;
};

}  // namespace kestrova
