#pragma once
// Run control: turns the queue into a run of the engine component and shows the run in the
// rows. Start, Pause, Resume and Stop, the per-row progress and end texts, the command buttons'
// states, and the end of the queue with the optional shutdown of the computer.
//
// How the main window uses it: one TRunControl beside its engine and its list; the Start, Pause
// and Stop buttons call Start, Pause and Stop; the window enables its buttons from Buttons()
// whenever ButtonsChanged is emitted (the queue's own operations change Buttons() too). Progress
// reports arrive on the main thread; the end of each task arrives on an engine notice thread
// and is carried into the main thread here, so every signal is emitted on the main thread.
#include "app/queue/CommandButtons.h"
#include "app/queue/QueueRows.h"
#include "app/queue/TimeLeft.h"
#include "engine/front/FFmpegEngine.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <QString>

#include <functional>
#include <vector>

namespace kestrova {

class TRunControl : public QObject {
    Q_OBJECT
public:
    // `shutDown` powers the computer off (the platform's request); tests pass their own.
    TRunControl(TFFmpegEngine& engine, TQueueRows& rows, std::function<bool()> shutDown,
                QObject* parent = nullptr);
    ~TRunControl() override;

    // Start a run with `processes` tasks at once (0 or less: one after another in this thread,
    // returning when the queue has ended) at the priority chosen among idle, lowest, lower,
    // normal; or, while paused, resume the run.
    void Start(int processes, int priorityIndex);
    // Shows "Pause" on every row that has not ended; reports arriving meanwhile show after Resume,
    // which gives the rows their texts back at once.
    void Pause();
    // Stops every task and waits for them; the outputs are finalised by the engine.
    void Stop();

    bool Running() const { return FRunning; }
    bool Paused() const { return FPaused; }
    bool StoppedByUser() const { return FStoppedByUser; }
    // The "shut down when done" check box, read when the queue ends (the user may change it
    // during the run).
    void SetShutDownWhenDone(std::function<bool()> wanted) { FShutDownWhenDone = std::move(wanted); }

    TCommandButtons& Buttons() { return FButtons; }
    // After a queue operation changed Buttons() (add, remove, clear).
    void NotifyButtonsChanged() { emit ButtonsChanged(); }

signals:
    void ButtonsChanged();
    // A line for the activity log (why a task ended "Aborted").
    void LogLine(const QString& line);
    // A row's task has ended ("Completed" or "Aborted").
    void RowEnded(int row);
    // The whole queue's time left in seconds, after every report and every task's end; -1 when
    // none is known (and when the queue has ended).
    void TimeLeftChanged(qint64 seconds);
    // Every task has ended; `shutDownAccepted` when the system took the power-off request.
    void QueueEnded(bool stoppedByUser, bool shutDownAccepted);

private:
    void StartRun(int processes, int priorityIndex);
    void Resume();
    void HandOutputsToEngine();
    void ShowProgress(const TProgressInfo& info);
    void EndTask(const TTerminateInfo& info);
    void EndQueue();
    int RowOfTask(int taskIndex) const;
    // A converting row's "Status": its percentage and the time it still takes.
    QString RowProgressText(const TProgressInfo& info);
    // Milliseconds the run has been running, its pauses left out.
    qint64 RunClockMs() const;
    QString RefusalReason(const QString& outputFileName) const;

    TFFmpegEngine& FEngine;
    TQueueRows& FRows;
    std::function<bool()> FShutDown;
    TCommandButtons FButtons;
    std::vector<int> FTaskRows;      // task index -> row index, written at Start
    std::vector<QString> FRefusals;  // task index -> why its output was refused, written at Start
    // While paused: each row's status as it was, or as progress reported meanwhile, given back
    // by Resume.
    std::vector<QString> FStatusBeforePause;
    // Outputs that tasks of this session left unfinished: the next run may remove them.
    QSet<QString> FOwnOutputs;
    TRunPace FPace;
    QElapsedTimer FRunClock;
    qint64 FPausedMs = 0;        // paused time of the run before the pause at hand
    qint64 FPauseStartedMs = 0;  // on FRunClock
    bool FRunning = false;
    bool FPaused = false;
    bool FStoppedByUser = false;
    std::function<bool()> FShutDownWhenDone;
};

}  // namespace kestrova
