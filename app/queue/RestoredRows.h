#pragma once
// What a row of a saved queue becomes when the queue is brought back: a row that ended keeps
// its end; any other was waiting or converting when the session ended and converts again,
// unless its source has gone or changed since it was queued. The output files a row made are
// the queue's own: an unfinished one is removed before the row runs again, and a reservation
// the queue no longer needs is given back.
#include "app/queue/SavedQueue.h"

#include <QString>

namespace kestrova {

// "Completed" or "Aborted".
bool HasEnded(const TSavedRow& row);

// Why the row's source cannot be converted again (gone, or changed since it was queued);
// empty when it is as it was.
QString SourceProblem(const TSavedRow& row);

// The output of the row's new run: an unfinished output the queue made is removed and the
// name reserved again; a name that another file took meanwhile gives way to the next free one
// (name_(new_N)). The path the row converts to.
QString PrepareOutputForRun(const TSavedRow& row);

// Gives back the output name a row reserved: the file is removed only while it is empty and
// the queue's own.
void GiveBackReservation(const TSavedRow& row);

}  // namespace kestrova
