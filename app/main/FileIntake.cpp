#include "app/main/FileIntake.h"

#include "app/main/ActivityLog.h"
#include "app/main/MainFrm.h"
#include "app/settings/Settings.h"
#include "engine/frame/LogLabel.h"
#include "engine/frame/ProgramLayout.h"
#include "profiles/dialog/OptionFrm.h"
#include "profiles/options/SourceFromProbe.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QScopeGuard>

#include <utility>

namespace kestrova {

TFileIntake::TFileIntake(TfrmMain& window, TListMenu& picker, TSettingsStore& settings, TRowMaker makeRow)
    : FWindow(window), FPicker(picker), FSettings(settings), FMakeRow(std::move(makeRow)) {}

void TFileIntake::Add(TGivenFiles given) {
    FWaiting.push_back(std::move(given));
    // A batch under way (its dialogs run the event loop) takes these up when it is done.
    if (FBusy) return;
    FBusy = true;
    const auto done = qScopeGuard([this] { FBusy = false; });
    while (!FWaiting.empty()) {
        TGivenFiles next = std::move(FWaiting.front());
        FWaiting.pop_front();
        AddBatch(std::move(next));
    }
}

void TFileIntake::AddBatch(TGivenFiles given) {
    FWindow.Panel_Gettingstarted->hide();  // for good: nothing shows it again
    std::vector<TNotAdded> notAdded = std::move(given.NotAdded);
    const int count = static_cast<int>(given.Files.size());
    TBatchChoices batch;
    bool waiting = false;  // the pointer says so while files are queued without a dialog
    const auto restoreCursor = qScopeGuard([&waiting] {
        if (waiting) QApplication::restoreOverrideCursor();
    });
    for (int index = 0; index < count; ++index) {
        const QString& path = given.Files[index];
        QString reason;
        const TOutcome outcome = batch.Use ? AddWithChoices(path, batch, reason)
                                           : AddWithDialog(path, count - index - 1, batch, reason);
        if (outcome == TOutcome::Failed) notAdded.push_back({path, ReasonWithoutPath(path, reason)});
        if (outcome == TOutcome::CancelledAll) break;
        // The rows show as they come; the user's input waits for the batch.
        if (batch.Use) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (batch.Use && !waiting) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            waiting = true;
        }
    }
    Report(notAdded);
}

TFileIntake::TOutcome TFileIntake::AddWithDialog(const QString& path, int remaining, TBatchChoices& batch,
                                                 QString& reason) {
    // The libraries' lines about this file name it (the task names itself once it runs).
    const TLogThreadLabel logLabel(QFileInfo(path).fileName().toStdString());
    if (!LoadMediaLibraries(reason) || !OpenInProbe(path, reason)) return TOutcome::Failed;
    TAVProbe& probe = FWindow.VADOR->AVProbe();
    // Open until the row has been made: the row shows the probe's duration and size.
    const auto closeProbe = qScopeGuard([&probe] { probe.CloseFile(); });
    TfrmOption* dialog = NewDialog();
    dialog->SetSource(probe);
    dialog->OfferForRemaining(remaining);
    if (dialog->exec() != QDialog::Accepted) {
        // Cancelling with the box ticked cancels the files it would have served too.
        const bool all = dialog->UseForRemaining();
        dialog->deleteLater();  // a cancelled new file leaves nothing behind
        return all ? TOutcome::CancelledAll : TOutcome::Cancelled;
    }
    const TOutputOptions outputOptions = dialog->BuildOutputOptions();
    const TInputOptions inputOptions = dialog->BuildInputOptions();
    if (dialog->UseForRemaining()) {
        batch.Use = true;
        batch.Profile = dialog->ConfirmedProfile();
        batch.Choices = dialog->ConfirmedChoices();
    }
    reason = FMakeRow(dialog, outputOptions, inputOptions);
    return reason.isEmpty() ? TOutcome::Added : TOutcome::Failed;
}

// The dialog the file gets is the one the user confirmed, shown for this source: the same
// profile and items ("Auto" and "Original" then follow this file), folder and further pages.
TFileIntake::TOutcome TFileIntake::AddWithChoices(const QString& path, const TBatchChoices& batch,
                                                  QString& reason) {
    // The libraries' lines about this file name it (the task names itself once it runs).
    const TLogThreadLabel logLabel(QFileInfo(path).fileName().toStdString());
    if (!LoadMediaLibraries(reason) || !OpenInProbe(path, reason)) return TOutcome::Failed;
    TAVProbe& probe = FWindow.VADOR->AVProbe();
    const auto closeProbe = qScopeGuard([&probe] { probe.CloseFile(); });
    TOptionChoices choices = batch.Choices;
    choices.Source = SourceFromProbe(probe);
    choices.Trim = {};  // a cut marked on one file's timeline means nothing on another's
    TfrmOption* dialog = NewDialog();
    dialog->SetSource(probe);
    dialog->RestoreChoices(batch.Profile, choices);
    const TOutputOptions outputOptions = dialog->BuildOutputOptions();
    const TInputOptions inputOptions = dialog->BuildInputOptions();
    reason = FMakeRow(dialog, outputOptions, inputOptions);
    return reason.isEmpty() ? TOutcome::Added : TOutcome::Failed;
}

bool TFileIntake::LoadMediaLibraries(QString& reason) {
    TFFmpegEngine& engine = *FWindow.VADOR;
    if (engine.AVLibLoaded() || engine.LoadAVLib(MediaLibraryFolder())) return true;
    reason = QString::fromStdString(engine.LastErrMsg());
    Log(reason, false);
    return false;
}

bool TFileIntake::OpenInProbe(const QString& path, QString& reason) {
    TAVProbe& probe = FWindow.VADOR->AVProbe();
    if (probe.LoadFile(path.toStdString(), "")) return true;
    reason = QString::fromStdString(probe.LastErrMsg());
    Log(QStringLiteral("***File load error: ") + reason);
    return false;
}

TfrmOption* TFileIntake::NewDialog() {
    return new TfrmOption(FPicker, FSettings.Values().OutputFolder, &FWindow);
}

void TFileIntake::Report(const std::vector<TNotAdded>& notAdded) {
    if (notAdded.empty()) return;
    for (const TNotAdded& item : notAdded)
        Log(QStringLiteral("***File not added: ") + item.Path + QStringLiteral(": ") + item.Reason);
    QMessageBox box(QMessageBox::Warning, QApplication::applicationName(), NotAddedMessage(notAdded),
                    QMessageBox::Ok, &FWindow);
    box.setDetailedText(NotAddedDetails(notAdded));
    box.exec();
}

void TFileIntake::Log(const QString& line, bool spaced) {
    TActivityLog& log = FWindow.ActivityLog();
    if (spaced) log.AppendLine(QString());
    log.AppendLine(line);
    if (spaced) log.AppendLine(QString());
}

}  // namespace kestrova
