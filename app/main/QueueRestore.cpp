#include "app/main/QueueRestore.h"

#include "app/main/ActivityLog.h"
#include "app/main/MainFrm.h"
#include "app/main/QueueController.h"
#include "app/main/QueueSaver.h"
#include "app/queue/QueueTexts.h"
#include "app/queue/RestoredRows.h"
#include "app/settings/Settings.h"
#include "engine/frame/AVProbe.h"
#include "engine/frame/ProgramLayout.h"
#include "profiles/dialog/OptionFrm.h"
#include "profiles/options/OptionBuilder.h"
#include "shell/MessageBoxes.h"

#include <QFileInfo>

#include <algorithm>
#include <utility>

namespace kestrova {

TQueueRestore::TQueueRestore(TfrmMain& window, TQueueController& queue, TListMenu& picker,
                             TSettingsStore& settings, TQueueSaver& saver, QString path)
    : FWindow(window), FQueue(queue), FPicker(picker), FSettings(settings), FSaver(saver),
      FPath(std::move(path)) {}

void TQueueRestore::Run() {
    const TQueueFileRead read = ReadQueueFile(FPath);
    if (read.State == TQueueFileState::Missing) return;
    if (read.State == TQueueFileState::Damaged) {
        SayDamaged(read.Error);
        return;
    }
    const std::vector<TSavedRow>& rows = read.Queue.Rows;
    const bool unfinished = std::any_of(rows.begin(), rows.end(),
                                        [](const TSavedRow& row) { return row.Status != kStatusCompleted; });
    if (unfinished && AskToRestore(static_cast<int>(rows.size()))) {
        for (const TSavedRow& row : rows) RestoreRow(row);
    } else {
        for (const TSavedRow& row : rows)
            if (row.Status != kStatusCompleted) GiveBackReservation(row);
    }
    FSaver.Save();
}

bool TQueueRestore::AskToRestore(int rowCount) {
    const QString question =
            rowCount == 1 ? QStringLiteral("Restore the file left in the queue?")
                          : QStringLiteral("Restore the %1 files left in the queue?").arg(rowCount);
    return AskYesNo(&FWindow, question, true);
}

// The next save writes a new file; the old one stays for the user unless it cannot be moved.
void TQueueRestore::SayDamaged(const QString& error) {
    const QString aside = SetDamagedFileAside(FPath);
    const QString kept = aside.isEmpty() ? QStringLiteral("It could not be moved aside and will be replaced.")
                                         : QStringLiteral("It was kept as %1.").arg(aside);
    ShowMessageBox(&FWindow, QMessageBox::Warning,
                   QStringLiteral("The saved queue %1 could not be read: %2.\n%3\nThe queue starts empty.")
                           .arg(FPath, error, kept));
}

void TQueueRestore::RestoreRow(TSavedRow row) {
    TFFmpegEngine& engine = *FWindow.VADOR;
    auto* dialog = new TfrmOption(FPicker, FSettings.Values().OutputFolder, &FWindow);
    const bool runsAgain = !HasEnded(row);
    QString problem;
    if (runsAgain) {
        problem = SourceProblem(row);
        if (problem.isEmpty()) problem = OpenSource(*dialog, row);
    }
    dialog->RestoreChoices(row.Profile, row.Choices);
    const TOptionChoices& choices = dialog->ConfirmedChoices();
    const TInputOptions inputOptions = BuildInputOptions(choices);
    int taskIndex = -1;
    if (runsAgain && problem.isEmpty()) {
        TInputOptions taskInput = inputOptions;
        taskIndex = engine.AddTask(inputOptions.FileName, &taskInput);
        if (taskIndex < 0) problem = QString::fromStdString(engine.LastErrMsg());
    }
    if (runsAgain) {
        row.Status = problem.isEmpty() ? kStatusWaiting : kStatusAborted;
        row.FailureText = problem;
        row.Editable = problem.isEmpty();
        row.OutputDurationText.clear();
        row.OutputSizeText.clear();
        if (problem.isEmpty())
            row.OutputFileName = PrepareOutputForRun(row);
        else
            GiveBackReservation(row);
    }
    if (!problem.isEmpty()) Log(row.InputFileName + QStringLiteral(": ") + problem);

    auto objects = std::make_unique<TQueueRowObjects>();
    objects->IOOptions.TaskIndex = taskIndex;
    objects->IOOptions.InputFileName = row.InputFileName;
    objects->IOOptions.OutputFileName = row.OutputFileName;
    objects->IOOptions.OutputOptions = BuildNamedOutputOptions(choices, row.OutputFileName.toStdString());
    objects->IOOptions.InputOptions = inputOptions;
    objects->ItemState.Editable = row.Editable;
    objects->Dialog = dialog;
    FQueue.AppendRestoredRow(std::move(objects), {QFileInfo(row.InputFileName).fileName(),
                                                  TotalTimeText(choices.Source.File.Duration),
                                                  MegabytesText(choices.Source.Stamp.Size),
                                                  QFileInfo(row.OutputFileName).fileName(),
                                                  row.OutputDurationText, row.OutputSizeText, row.Status});
    FQueue.Rows().SetFailureText(FQueue.Rows().RowCount() - 1, row.FailureText);
}

// The dialog takes the source again, as for a new row; the probe's reason when it cannot.
QString TQueueRestore::OpenSource(TfrmOption& dialog, const TSavedRow& row) {
    TFFmpegEngine& engine = *FWindow.VADOR;
    if (!engine.AVLibLoaded() && !engine.LoadAVLib(MediaLibraryFolder()))
        return QString::fromStdString(engine.LastErrMsg());
    TAVProbe& probe = engine.AVProbe();
    const TSourceInfo& source = row.Choices.Source;
    if (!probe.LoadFile(source.FileName, source.FormatName))
        return QString::fromStdString(probe.LastErrMsg());
    dialog.SetSource(probe);
    probe.CloseFile();
    return {};
}

void TQueueRestore::Log(const QString& line) {
    TActivityLog& log = FWindow.ActivityLog();
    log.AppendLine(QString());
    log.AppendLine(line);
    log.AppendLine(QString());
}

}  // namespace kestrova
