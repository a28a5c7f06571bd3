#include "app/queue/CommandButtons.h"

namespace kestrova {

void TCommandButtons::RowAdded() {
    Remove = Clear = Start = UpDown = true;
}

void TCommandButtons::RowRemoved(bool rowsLeft) {
    Remove = Clear = Start = UpDown = rowsLeft;
}

void TCommandButtons::QueueCleared() {
    Add = true;
    Remove = Clear = Start = UpDown = false;
}

void TCommandButtons::RunStarted() {
    Add = Remove = Clear = Start = UpDown = false;
    Stop = Pause = true;
}

void TCommandButtons::Paused() {
    Start = true;
    Pause = false;
}

void TCommandButtons::Resumed() {
    Start = false;
    Pause = true;
}

void TCommandButtons::Stopped() {
    Start = true;
    Stop = false;
}

void TCommandButtons::QueueEnded(bool unfinishedRows) {
    Stop = Pause = false;
    Add = Remove = Clear = UpDown = true;
    Start = unfinishedRows;
}

}  // namespace kestrova
