#pragma once
// How the queue shows conversions that failed: the reason in the row itself, and when the
// queue has ended, one message with every failed file and its reason.
#include <QString>

class QTreeWidgetItem;

namespace kestrova {

class TQueueListRows;

// Shows why the row's task failed (empty: it did not), in the row's "Output Duration" cell and,
// in full, as the row's tool tip. The cell leaves out the input's path the engine names first.
void ShowRowFailure(QTreeWidgetItem& item, int outputDurationColumn, const QString& inputPath,
                    const QString& failure);

// "These files could not be converted:" and a line per failed row, its file name and its reason;
// empty when no row failed.
QString FailedRowsMessage(const TQueueListRows& rows);

}  // namespace kestrova
