#include "app/queue/TimeLeft.h"

#include <algorithm>

namespace kestrova {

namespace {

// Rounded up: a task a moment from its end still shows "0:01", not "0:00".
qint64 SecondsFor(double milliseconds) {
    return static_cast<qint64>((milliseconds + 999.0) / 1000.0);
}

}  // namespace

TRunPace::TRunPace(int taskCount) : FTasks(static_cast<std::size_t>(std::max(0, taskCount))) {}

const TRunPace::TTask* TRunPace::TaskAt(int task) const {
    if (task < 0 || task >= static_cast<int>(FTasks.size())) return nullptr;
    return &FTasks[static_cast<std::size_t>(task)];
}

void TRunPace::Report(int task, qint64 nowMs, qint64 current, qint64 total) {
    if (!TaskAt(task)) return;
    TTask& entry = FTasks[static_cast<std::size_t>(task)];
    if (entry.FirstMs < 0) {
        entry.FirstMs = nowMs;
        entry.FirstCurrent = current;
        if (FRunStartMs < 0) FRunStartMs = nowMs;
    }
    entry.Current = current;
    entry.Total = total;
}

void TRunPace::End(int task, bool finished) {
    if (!TaskAt(task)) return;
    TTask& entry = FTasks[static_cast<std::size_t>(task)];
    entry.Ended = true;
    entry.Counted = finished;
    if (finished && entry.Total > entry.Current) entry.Current = entry.Total;
}

qint64 TRunPace::TaskSecondsLeft(int task, qint64 nowMs) const {
    const TTask* entry = TaskAt(task);
    if (!entry || entry->FirstMs < 0 || entry->Total <= 0) return -1;
    const qint64 done = entry->Current - entry->FirstCurrent;
    const qint64 elapsed = nowMs - entry->FirstMs;
    if (done <= 0 || elapsed <= 0) return -1;
    const qint64 left = std::max<qint64>(0, entry->Total - entry->Current);
    return SecondsFor(static_cast<double>(elapsed) * static_cast<double>(left) / static_cast<double>(done));
}

qint64 TRunPace::QueueSecondsLeft(qint64 nowMs) const {
    if (FRunStartMs < 0 || nowMs <= FRunStartMs) return -1;
    double done = 0, left = 0, knownLength = 0;
    int known = 0, notStarted = 0;
    for (const TTask& task : FTasks) {
        if (!task.Counted) continue;
        if (task.FirstMs < 0) {
            notStarted += task.Ended ? 0 : 1;
            continue;
        }
        done += static_cast<double>(task.Current - task.FirstCurrent);
        if (task.Total <= 0) continue;
        ++known;
        knownLength += static_cast<double>(task.Total);
        if (!task.Ended) left += static_cast<double>(std::max<qint64>(0, task.Total - task.Current));
    }
    if (done <= 0 || known == 0) return -1;
    left += notStarted * (knownLength / known);
    return SecondsFor(static_cast<double>(nowMs - FRunStartMs) * left / done);
}

QString TimeLeftText(qint64 seconds) {
    const qint64 hours = seconds / 3600, minutes = seconds / 60 % 60, rest = seconds % 60;
    const QString tail = QStringLiteral("%1").arg(rest, 2, 10, QLatin1Char('0'));
    if (hours == 0) return QStringLiteral("%1:%2").arg(minutes).arg(tail);
    return QStringLiteral("%1:%2:%3").arg(hours).arg(minutes, 2, 10, QLatin1Char('0')).arg(tail);
}

QString ProgressWithTimeLeft(const QString& progressText, qint64 secondsLeft) {
    return secondsLeft < 0 ? progressText : progressText + QLatin1Char(' ') + TimeLeftText(secondsLeft);
}

}  // namespace kestrova
