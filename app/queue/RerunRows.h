#pragma once
// A queue runs again after a run has ended: the ended run's tasks are freed (the engine takes
// new tasks only then) and every row gives up its task; at the next Start each row that is not
// "Completed" gets a new task from its input record, with its output made ready for the new
// run. "Completed" rows keep their status and their outputs and take no part.
#include "app/queue/QueueRows.h"
#include "engine/front/FFmpegEngine.h"

#include <QSet>
#include <QString>
#include <QStringList>

namespace kestrova {

// After the final notice of a run: frees the engine's tasks; no row has a task afterwards.
void FreeEndedTasks(TFFmpegEngine& engine, TQueueRows& rows);

// Before a run: a new task for every row that is not "Completed" and has none, shown
// "Waiting". The output a task of this session left unfinished (`ownOutputs`) is removed and
// its name reserved again; another file under the row's name leaves it in place and the row
// takes the next free name. A row whose source cannot be opened stays "Aborted" with the reason,
// which is also among the lines returned for the activity log.
QStringList GiveTasksToUnfinishedRows(TFFmpegEngine& engine, TQueueRows& rows,
                                      const QSet<QString>& ownOutputs);

}  // namespace kestrova
