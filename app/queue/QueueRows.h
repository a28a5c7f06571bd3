#pragma once
// What the run control needs of the queue's rows. The main window's list implements it; rows
// are addressed by their display index.
#include "app/queue/QueueRecords.h"

#include <QString>

namespace kestrova {

class TQueueRows {
public:
    virtual ~TQueueRows() = default;
    virtual int RowCount() const = 0;
    virtual TCotainerIOOptions& IOOptions(int row) = 0;
    virtual TLVItemState& ItemState(int row) = 0;
    virtual QString StatusText(int row) const = 0;
    virtual void SetStatusText(int row, const QString& text) = 0;
    // The "Output" column: the output's file name.
    virtual void SetOutputText(int row, const QString& text) = 0;
    virtual void SetOutputDurationText(int row, const QString& text) = 0;
    virtual void SetOutputSizeText(int row, const QString& text) = 0;
    // Why the row's task ended "Aborted" (empty when it completed), shown as the row's tool tip.
    virtual void SetFailureText(int row, const QString& text) = 0;
};

}  // namespace kestrova
