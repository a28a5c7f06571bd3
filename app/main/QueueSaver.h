#pragma once
// Keeps the main window's queue in its file: the whole queue is written again on every change
// of its rows (added, edited again, renamed, moved, removed, cleared) and at the end of every
// row's task, so that a crash, a kill or a restart finds it as it was last shown.
#include "app/queue/SavedQueue.h"

#include <QObject>
#include <QString>

namespace kestrova {

class TActivityLog;
class TQueueController;

class TQueueSaver : public QObject {
    Q_OBJECT
public:
    // Failures are written to `log`.
    TQueueSaver(TQueueController& queue, TActivityLog& log, QString path);

    // Writes the queue as the window shows it now. A failure is written to the activity log,
    // once until a write succeeds again; the file then keeps the queue it held before.
    void Save();
    // The queue as the window shows it: each row with the choices its records were built from.
    TSavedQueue Snapshot() const;

private:
    TQueueController& FQueue;
    TActivityLog& FLog;
    QString FPath;
    bool FFailing = false;
};

}  // namespace kestrova
