#include "app/main/QueueSaver.h"

#include "app/main/ActivityLog.h"
#include "app/main/QueueController.h"
#include "profiles/dialog/OptionFrm.h"

#include <QFileInfo>

#include <utility>

namespace kestrova {

TQueueSaver::TQueueSaver(TQueueController& queue, TActivityLog& log, QString path)
    : FQueue(queue), FLog(log), FPath(std::move(path)) {
    connect(&FQueue, &TQueueController::QueueChanged, this, &TQueueSaver::Save);
    connect(&FQueue.Run(), &TRunControl::RowEnded, this, &TQueueSaver::Save);
}

TSavedQueue TQueueSaver::Snapshot() const {
    TSavedQueue queue;
    TQueueListRows& rows = FQueue.Rows();
    for (int index = 0; index < rows.RowCount(); ++index) {
        const TQueueRowObjects& objects = rows.ObjectsOf(index);
        TSavedRow& row = queue.Rows.emplace_back();
        row.Status = rows.StatusText(index);
        row.FailureText = rows.FailureText(index);
        row.OutputDurationText = rows.OutputDurationText(index);
        row.OutputSizeText = rows.OutputSizeText(index);
        row.Editable = objects.ItemState.Editable;
        row.InputFileName = objects.IOOptions.InputFileName;
        row.OutputFileName = objects.IOOptions.OutputFileName;
        // The queue reserved its name exclusively: a file there is the row's own.
        row.OutputOurs = QFileInfo(row.OutputFileName).isFile();
        if (objects.Dialog) {
            row.Profile = objects.Dialog->ConfirmedProfile();
            row.Choices = objects.Dialog->ConfirmedChoices();
        }
    }
    return queue;
}

void TQueueSaver::Save() {
    QString error;
    if (WriteQueueFile(FPath, Snapshot(), &error)) {
        FFailing = false;
        return;
    }
    if (FFailing) return;
    FFailing = true;
    FLog.AppendLine(QString());
    FLog.AppendLine(QStringLiteral("***The queue could not be saved to ") + FPath + QStringLiteral(": ") +
                    error);
    FLog.AppendLine(QString());
}

}  // namespace kestrova
