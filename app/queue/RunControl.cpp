#include "app/queue/RunControl.h"

#include "app/queue/QueueTexts.h"
#include "app/queue/RerunRows.h"
#include "app/queue/ReservedOutputs.h"
#include "shell/FolderAccess.h"

#include <QFileInfo>

#include <QMetaObject>

#include <array>

namespace kestrova {

namespace {

// The priorities the run settings offer, by their index.
constexpr std::array kRunPriorities{tpIdle, tpLowest, tpLower, tpNormal};

TThreadPriority RunPriority(int priorityIndex) {
    if (priorityIndex < 0 || priorityIndex >= static_cast<int>(kRunPriorities.size())) return tpLower;
    return kRunPriorities[static_cast<std::size_t>(priorityIndex)];
}

}  // namespace

TRunControl::TRunControl(TFFmpegEngine& engine, TQueueRows& rows, std::function<bool()> shutDown,
                         QObject* parent)
    : QObject(parent), FEngine(engine), FRows(rows), FShutDown(std::move(shutDown)) {
    FEngine.OnProgress = [this](TCustomFFmpegEngine&, TProgressInfo* info) {
        if (info) ShowProgress(*info);
    };
    // Notices of a threaded run come on the engine's notice threads: the record is the engine's
    // own and valid only during the call, so a copy travels to the main thread.
    FEngine.OnTerminate = [this](TCustomFFmpegEngine&, const TTerminateInfo& info) {
        QMetaObject::invokeMethod(
                this, [this, info] { info.TaskIndex < 0 ? EndQueue() : EndTask(info); },
                Qt::QueuedConnection);
    };
}

TRunControl::~TRunControl() {
    FEngine.OnProgress = nullptr;
    FEngine.OnTerminate = nullptr;
}

void TRunControl::Start(int processes, int priorityIndex) {
    FStoppedByUser = false;
    if (FPaused)
        Resume();
    else
        StartRun(processes, priorityIndex);
}

void TRunControl::StartRun(int processes, int priorityIndex) {
    FEngine.SetThreadPriority(RunPriority(priorityIndex));
    FButtons.RunStarted();
    FRunning = true;
    emit ButtonsChanged();
    for (const QString& line : GiveTasksToUnfinishedRows(FEngine, FRows, FOwnOutputs)) emit LogLine(line);
    HandOutputsToEngine();
    // Only the tasks of rows taking part count towards the queue's time left.
    FPace = TRunPace(static_cast<int>(FTaskRows.size()));
    for (std::size_t task = 0; task < FTaskRows.size(); ++task)
        if (FTaskRows[task] < 0) FPace.End(static_cast<int>(task), false);
    FRunClock.start();
    FPausedMs = 0;
    FEngine.StartTask(processes);
}

// Why the engine refused an output: a folder that cannot be written to is named as such.
QString TRunControl::RefusalReason(const QString& outputFileName) const {
    const QString folder = QFileInfo(outputFileName).absolutePath();
    if (!CanWriteToFolder(folder)) return CannotWriteToFolderText(folder);
    return QString::fromStdString(FEngine.LastErrMsg());
}

void TRunControl::HandOutputsToEngine() {
    FTaskRows.assign(static_cast<std::size_t>(FRows.RowCount()), -1);
    FRefusals.assign(static_cast<std::size_t>(FRows.RowCount()), QString());
    for (int row = 0; row < FRows.RowCount(); ++row) {
        if (FRows.StatusText(row) == kStatusCompleted) continue;
        TCotainerIOOptions& options = FRows.IOOptions(row);
        if (options.TaskIndex < 0 || options.TaskIndex >= static_cast<int>(FTaskRows.size())) continue;
        FTaskRows[static_cast<std::size_t>(options.TaskIndex)] = row;
        TOutputOptions outputOptions = options.OutputOptions;
        // A refused output does not stop the run: the task fails when it starts, and the row
        // shows why the output was refused rather than that the task had none.
        if (!FEngine.SetOutputFile(options.TaskIndex, options.OutputFileName.toStdString(), &outputOptions))
            FRefusals[static_cast<std::size_t>(options.TaskIndex)] = RefusalReason(options.OutputFileName);
    }
}

void TRunControl::Resume() {
    FButtons.Resumed();
    FPausedMs += FRunClock.elapsed() - FPauseStartedMs;
    FPaused = false;
    FEngine.Resume();
    emit ButtonsChanged();
    // The rows still showing "Pause" get their percentage (or "Waiting") back at once.
    for (int row = 0; row < FRows.RowCount(); ++row)
        if (FRows.StatusText(row) == kStatusPause && row < static_cast<int>(FStatusBeforePause.size()))
            FRows.SetStatusText(row, FStatusBeforePause[static_cast<std::size_t>(row)]);
}

void TRunControl::Pause() {
    if (FPaused) return;
    FButtons.Paused();
    FEngine.Pause();
    FPaused = true;
    FPauseStartedMs = FRunClock.elapsed();
    emit ButtonsChanged();
    FStatusBeforePause.assign(static_cast<std::size_t>(FRows.RowCount()), QString());
    for (int row = 0; row < FRows.RowCount(); ++row) {
        const QString status = FRows.StatusText(row);
        if (status == kStatusCompleted || status == kStatusAborted) continue;
        FStatusBeforePause[static_cast<std::size_t>(row)] = status;
        FRows.SetStatusText(row, kStatusPause);
    }
}

void TRunControl::Stop() {
    FStoppedByUser = true;
    FButtons.Stopped();
    FRunning = false;
    FPaused = false;
    emit ButtonsChanged();
    FEngine.Stop(true);
}

int TRunControl::RowOfTask(int taskIndex) const {
    if (taskIndex < 0 || taskIndex >= static_cast<int>(FTaskRows.size())) return -1;
    const int row = FTaskRows[static_cast<std::size_t>(taskIndex)];
    return row < FRows.RowCount() ? row : -1;
}

void TRunControl::ShowProgress(const TProgressInfo& info) {
    const int row = RowOfTask(info.TaskIndex);
    if (row < 0) return;
    const QString status = RowProgressText(info);
    // A report handed over before the Pause shows once the run resumes.
    if (FPaused && FRows.StatusText(row) == kStatusPause)
        FStatusBeforePause.at(static_cast<std::size_t>(row)) = status;
    else
        FRows.SetStatusText(row, status);
    FRows.SetOutputDurationText(row, OutputDurationText(info.CurrentDuration));
    FRows.SetOutputSizeText(row, MegabytesText(info.TotalSize));
    emit TimeLeftChanged(FPace.QueueSecondsLeft(RunClockMs()));
}

QString TRunControl::RowProgressText(const TProgressInfo& info) {
    const qint64 now = RunClockMs();
    FPace.Report(info.TaskIndex, now, info.CurrentDuration, info.TotalDuration);
    return ProgressWithTimeLeft(ProgressStatusText(info.CurrentDuration, info.TotalDuration),
                                FPace.TaskSecondsLeft(info.TaskIndex, now));
}

qint64 TRunControl::RunClockMs() const {
    if (!FRunClock.isValid()) return 0;
    const qint64 now = FRunClock.elapsed();
    return now - FPausedMs - (FPaused ? now - FPauseStartedMs : 0);
}

void TRunControl::EndTask(const TTerminateInfo& info) {
    const int row = RowOfTask(info.TaskIndex);
    if (row < 0) return;
    FRows.ItemState(row).Editable = false;
    FRows.SetStatusText(row, info.Finished ? kStatusCompleted : kStatusAborted);
    FPace.End(info.TaskIndex, info.Finished);
    emit TimeLeftChanged(FPace.QueueSecondsLeft(RunClockMs()));
    // Why a task ended stays reachable: on its row and in the activity log.
    const QString refusal = FRefusals.size() > static_cast<std::size_t>(info.TaskIndex)
                                    ? FRefusals[static_cast<std::size_t>(info.TaskIndex)]
                                    : QString();
    QString failure = info.Exception ? QString::fromStdString(info.ExceptionMsg) : QString();
    if (!info.Finished && !refusal.isEmpty()) failure = refusal;
    FRows.SetFailureText(row, failure);
    if (!failure.isEmpty()) emit LogLine(FRows.IOOptions(row).InputFileName + QStringLiteral(": ") + failure);
    // A task that wrote nothing gives its reserved name back (no empty files left to number
    // the next outputs of the same source past).
    if (!info.Finished) {
        ReleaseReservedOutput(FRows.IOOptions(row).OutputFileName);
        FOwnOutputs.insert(FRows.IOOptions(row).OutputFileName);
    }
    emit RowEnded(row);
}

void TRunControl::EndQueue() {
    // The queue takes files again: the next Start gives the unfinished rows new tasks.
    FreeEndedTasks(FEngine, FRows);
    bool unfinished = false;
    for (int row = 0; row < FRows.RowCount(); ++row) unfinished |= FRows.StatusText(row) != kStatusCompleted;
    FButtons.QueueEnded(unfinished);
    FRunning = false;
    FPaused = false;
    emit ButtonsChanged();
    emit TimeLeftChanged(-1);
    const bool shutDown =
            !FStoppedByUser && FShutDownWhenDone && FShutDownWhenDone() && FShutDown && FShutDown();
    emit QueueEnded(FStoppedByUser, shutDown);
}

}  // namespace kestrova
