#pragma once
// The files a later start of the program handed to this one: the window comes to the front at
// once, and takes them up as if they had been dropped on it as soon as it is free for them (no
// dialog open, and not while the queue converts).
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>

namespace kestrova {

class TQueueController;
class TfrmMain;

class THandedFiles : public QObject {
    Q_OBJECT
public:
    THandedFiles(TfrmMain& window, TQueueController& queue);

    void Take(const QStringList& files);

private:
    void TakeWhenFree();

    TfrmMain& FWindow;
    TQueueController& FQueue;
    QList<QStringList> FWaiting;
    QTimer FRetry;
};

}  // namespace kestrova
