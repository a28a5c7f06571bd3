#pragma once
// Which of the main window's command buttons are enabled, as the queue and the run change it.
namespace kestrova {

struct TCommandButtons {
    bool Add = true;
    bool Remove = false;
    bool Clear = false;
    bool Start = false;
    bool Stop = false;
    bool Pause = false;
    bool UpDown = false;  // btnUp and btnDown together

    bool operator==(const TCommandButtons&) const = default;

    // A row was added: Remove, Clear, Start, Up and Down on.
    void RowAdded();
    // A row was removed: those five follow whether rows are left.
    void RowRemoved(bool rowsLeft);
    // The queue was cleared: Add on, the rest of the queue's buttons off.
    void QueueCleared();
    // A run started: only Stop and Pause on.
    void RunStarted();
    void Paused();
    void Resumed();
    void Stopped();
    // Every task has ended: the queue takes files again (Add, Remove, Clear, Up and Down on),
    // and Start is on while rows are not "Completed".
    void QueueEnded(bool unfinishedRows);
};

}  // namespace kestrova
