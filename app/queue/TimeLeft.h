#pragma once
// How long a run still takes, estimated from its progress so far: each task from its own pace
// since its first report, the queue from the pace of the whole run (media time converted per
// second, all tasks together) over the media time left, tasks still to start counted at the
// mean length of those that have reported. Times are milliseconds of a clock that stands still
// while the run is paused.
#include <QString>
#include <QtGlobal>

#include <vector>

namespace kestrova {

class TRunPace {
public:
    explicit TRunPace(int taskCount = 0);

    // A progress report: the task's media time done and its whole length (microseconds).
    void Report(int task, qint64 nowMs, qint64 current, qint64 total);
    // The task ended; an unfinished one no longer counts.
    void End(int task, bool finished);

    // Whole seconds left, or -1 while there is nothing to estimate from.
    qint64 TaskSecondsLeft(int task, qint64 nowMs) const;
    qint64 QueueSecondsLeft(qint64 nowMs) const;

private:
    struct TTask {
        qint64 FirstMs = -1;  // when the first report came
        qint64 FirstCurrent = 0;
        qint64 Current = 0;
        qint64 Total = 0;
        bool Ended = false;
        bool Counted = true;  // false once it ended unfinished
    };
    const TTask* TaskAt(int task) const;

    std::vector<TTask> FTasks;
    qint64 FRunStartMs = -1;  // the first report of the run
};

// "m:ss" below an hour, else "h:mm:ss".
QString TimeLeftText(qint64 seconds);
// A row's "Status" while it converts: the progress text, then the time left when one is known
// ("45% 0:32").
QString ProgressWithTimeLeft(const QString& progressText, qint64 secondsLeft);

}  // namespace kestrova
