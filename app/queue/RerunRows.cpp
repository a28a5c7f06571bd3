#include "app/queue/RerunRows.h"

#include "app/queue/QueueTexts.h"
#include "app/queue/RestoredRows.h"

#include <QFileInfo>

namespace kestrova {

void FreeEndedTasks(TFFmpegEngine& engine, TQueueRows& rows) {
    engine.ClearTasks();
    for (int row = 0; row < rows.RowCount(); ++row) rows.IOOptions(row).TaskIndex = -1;
}

QStringList GiveTasksToUnfinishedRows(TFFmpegEngine& engine, TQueueRows& rows,
                                      const QSet<QString>& ownOutputs) {
    QStringList failures;
    for (int row = 0; row < rows.RowCount(); ++row) {
        TCotainerIOOptions& io = rows.IOOptions(row);
        if (io.TaskIndex >= 0 || rows.StatusText(row) == kStatusCompleted) continue;
        TInputOptions input = io.InputOptions;
        const int task = engine.AddTask(io.InputFileName.toStdString(), &input);
        if (task < 0) {
            const QString reason = QString::fromStdString(engine.LastErrMsg());
            rows.SetStatusText(row, kStatusAborted);
            rows.SetFailureText(row, reason);
            failures << io.InputFileName + QStringLiteral(": ") + reason;
            continue;
        }
        io.TaskIndex = task;
        TSavedRow output;
        output.OutputFileName = io.OutputFileName;
        output.OutputOurs = ownOutputs.contains(io.OutputFileName);
        io.OutputFileName = PrepareOutputForRun(output);
        io.OutputOptions.FileName = io.OutputFileName.toStdString();
        rows.ItemState(row).Editable = true;
        rows.SetStatusText(row, kStatusWaiting);
        rows.SetFailureText(row, QString());
        rows.SetOutputText(row, QFileInfo(io.OutputFileName).fileName());
        rows.SetOutputDurationText(row, QString());
        rows.SetOutputSizeText(row, QString());
    }
    return failures;
}

}  // namespace kestrova
