#include "app/main/QueueController.h"

#include "app/main/ActivityLog.h"
#include "app/main/CloseDuringRun.h"
#include "app/main/FailedRows.h"
#include "app/main/FileIntake.h"
#include "app/main/MainFrm.h"
#include "app/queue/DropAcceptance.h"
#include "app/queue/GivenFiles.h"
#include "app/queue/QueueTexts.h"
#include "app/queue/ReservedOutputs.h"
#include "app/settings/Settings.h"
#include "engine/frame/LogLabel.h"
#include "engine/frame/ProgramLayout.h"
#include "profiles/dialog/OptionFrm.h"
#include "shell/ErrorDisplay.h"
#include "shell/MessageBoxes.h"
#include "shell/OutputFolder.h"
#include "shell/ShellCommands.h"
#include "ui/skin/ListViewEx.h"
#include "ui/skin/SkinPictures.h"
#include "ui/skin/XGraphic.h"

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QTreeWidgetItem>

namespace kestrova {

namespace {

constexpr int kSettingsColumnWidth = 80;
constexpr int kStampIconSize = 32;

QString FileNamePart(const QString& path) {
    return QFileInfo(path).fileName();
}

QString WithoutExtension(const QString& name) {
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.left(dot) : name;
}

QString ExtensionOf(const QString& name) {
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.mid(dot) : QString();
}

void ShowAsLink(QTreeWidgetItem& item, int column, const QColor& colour) {
    QFont font = item.font(column);
    font.setUnderline(true);
    item.setFont(column, font);
    item.setForeground(column, colour);
}

}  // namespace

TQueueController::TQueueController(TfrmMain& window, TListMenu& picker, TSettingsStore& settings)
    : FWindow(window), FPicker(picker), FSettings(settings), FRows(*window.lvFiles) {
    FRun = std::make_unique<TRunControl>(*FWindow.VADOR, FRows, [] { return ShutDown(); });
    FFrameStamp = std::make_shared<TFrameStamp>(skin::LoadProgramIcon(window.ProgramFolder())
                                                        .pixmap(kStampIconSize)
                                                        .toImage()
                                                        .convertToFormat(QImage::Format_RGB888));
    // The hook runs on the tasks' workers; the stamp draws on its own copies of icon and fonts.
    FWindow.VADOR->OnCustomHook = [stamp = FFrameStamp](TCustomFFmpegEngine&, THookInfo* hookInfo) {
        if (hookInfo) stamp->Draw(*hookInfo);
    };
    FRun->SetShutDownWhenDone([this] { return FWindow.chkShutDown->isChecked(); });
    FIntake = std::make_unique<TFileIntake>(FWindow, FPicker, FSettings,
                                            [this](TfrmOption* dialog, const TOutputOptions& outputOptions,
                                                   const TInputOptions& inputOptions) {
                                                return CreateRow(dialog, outputOptions, inputOptions);
                                            });
    ConnectHandlers();
    ApplyButtons();
    // The files named on the command line, once the window is up.
    QTimer::singleShot(0, this, [this] { TakeUpNewFiles(FWindow.StartFiles()); });
}

TQueueController::~TQueueController() {
    // The engine stops (and its handlers have returned) before anything it calls back goes,
    // and before Clear looks at the outputs its tasks were writing.
    FWindow.StopConversions();
    try {
        btnClearClick();
    } catch (const std::exception&) {
        // A run that could not be waited for: its tasks go with the component.
    }
}

void TQueueController::ConnectHandlers() {
    FWindow.setAcceptDrops(true);
    FWindow.installEventFilter(this);
    TListViewEx& list = *FWindow.lvFiles;
    list.viewport()->setMouseTracking(true);
    list.viewport()->installEventFilter(this);
    connect(FWindow.btnAdd, &TXGraphic::OnClick, this, &TQueueController::btnAddClick);
    connect(FWindow.btnRemove, &TXGraphic::OnClick, this, &TQueueController::btnRemoveClick);
    connect(FWindow.btnClear, &TXGraphic::OnClick, this, &TQueueController::btnClearClick);
    connect(FWindow.btnUp, &TXGraphic::OnClick, this, &TQueueController::btnUpClick);
    connect(FWindow.btnDown, &TXGraphic::OnClick, this, &TQueueController::btnDownClick);
    connect(FWindow.btnStart, &TXGraphic::OnClick, this, &TQueueController::btnStartClick);
    connect(FWindow.btnPause, &TXGraphic::OnClick, this, &TQueueController::btnPauseClick);
    connect(FWindow.btnStop, &TXGraphic::OnClick, this, &TQueueController::btnStopClick);
    connect(FWindow.btnLocation, &TXGraphic::OnClick, this, &TQueueController::btnLocationClick);
    connect(FWindow.mnuRemove, &QAction::triggered, this, &TQueueController::btnRemoveClick);
    connect(FWindow.mnuClear, &QAction::triggered, this, &TQueueController::btnClearClick);
    connect(FWindow.mnuPlayOutput, &QAction::triggered, this, &TQueueController::mnuPlayClick);
    connect(FWindow.mnuOpenFolder, &QAction::triggered, this, &TQueueController::mnuOpenFolderClick);
    connect(FWindow.PopupMenu1, &QMenu::aboutToShow, this, &TQueueController::PopupMenu1Popup);
    // After the drop has returned: the options dialog it may open is modal.
    connect(
            &list, &TListViewEx::OnDropFiles, this,
            [this](TListViewEx*, const QStringList& fileNames) { DropFiles(fileNames); },
            Qt::QueuedConnection);
    connect(&list, &QTreeWidget::itemClicked, this, &TQueueController::lvFilesClick);
    connect(&list, &TListViewEx::OnBeginColumnResize, this, [this] { CommitRename(); });
    connect(&list, &TListViewEx::OnScroll, this, [this] { CommitRename(); });
    connect(FWindow.edtLVEdit, &QLineEdit::returnPressed, this, &TQueueController::CommitRename);
    connect(FWindow.edtLVEdit, &QLineEdit::textEdited, this, &TQueueController::FilterTypedName);
    connect(FRun.get(), &TRunControl::ButtonsChanged, this, &TQueueController::ApplyButtons);
    connect(FRun.get(), &TRunControl::LogLine, this, [this](const QString& line) { Log(line); });
    // The title counts a row as ended only after the queue file has it (the saver takes the
    // same signal directly), so a program killed when the title says so loses nothing.
    connect(FRun.get(), &TRunControl::RowEnded, this, &TQueueController::ShowQueueInTitle,
            Qt::QueuedConnection);
    connect(FRun.get(), &TRunControl::TimeLeftChanged, &FWindow, &TfrmMain::ShowTimeLeft);
    connect(FRun.get(), &TRunControl::QueueEnded, this, [this] {
        if (const QString failed = FailedRowsMessage(FRows); !failed.isEmpty())
            ShowError(failed, TErrorSeverity::Warning);
    });
    list.header()->viewport()->installEventFilter(this);
}

// --- Adding -------------------------------------------------------------------------------

void TQueueController::btnAddClick() {
    CommitRename();
    QFileDialog& dialog = FWindow.OpenDialog();
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    TakeUpNewFiles(dialog.selectedFiles());
}

void TQueueController::DropFiles(const QStringList& paths) {
    if (paths.isEmpty() || !FWindow.btnAdd->isEnabled()) return;
    if (paths.size() > 1 || QFileInfo(paths.first()).isDir()) {
        FIntake->Add(CollectDroppedFiles(paths));
        return;
    }
    switch (JudgeDrop(paths, true)) {
        case TDropVerdict::Accepted:
            TakeUpNewFile(paths.first());
            break;
        case TDropVerdict::Refused:
            ShowMessageBox(&FWindow, QMessageBox::Warning, kInvalidFileMessage);
            break;
        case TDropVerdict::Ignored:
            break;
    }
}

void TQueueController::TakeUpNewFile(const QString& path) {
    TakeUpNewFiles({path});
}

void TQueueController::TakeUpNewFiles(const QStringList& paths) {
    if (!paths.isEmpty()) FIntake->Add(CollectChosenFiles(paths));
}

bool TQueueController::LoadMediaLibraries() {
    TFFmpegEngine& engine = *FWindow.VADOR;
    if (engine.AVLibLoaded()) return true;
    if (engine.LoadAVLib(MediaLibraryFolder())) return true;
    Log(QString::fromStdString(engine.LastErrMsg()), false);
    return false;
}

// A row's settings edited again: its own dialog, shown for its source opened again.
void TQueueController::TakeUp(const QString& path, int reEditRow) {
    // The libraries' lines about this file name it (the task names itself once it runs).
    const TLogThreadLabel logLabel(FileNamePart(path).toStdString());
    if (!LoadMediaLibraries()) return;
    TAVProbe& probe = FWindow.VADOR->AVProbe();
    if (!probe.LoadFile(path.toStdString(), "")) {
        Log(QStringLiteral("***File load error: ") + QString::fromStdString(probe.LastErrMsg()));
        return;
    }
    const auto closeProbe = qScopeGuard([&probe] { probe.CloseFile(); });
    TfrmOption* dialog = FRows.ObjectsOf(reEditRow).Dialog.data();
    if (!dialog || dialog->exec() != QDialog::Accepted) return;
    const TOutputOptions outputOptions = dialog->BuildOutputOptions();
    const TInputOptions inputOptions = dialog->BuildInputOptions();
    UpdateRow(reEditRow, outputOptions, inputOptions);
}

QString TQueueController::CreateRow(TfrmOption* dialog, const TOutputOptions& outputOptions,
                                    const TInputOptions& inputOptions) {
    TFFmpegEngine& engine = *FWindow.VADOR;
    TInputOptions taskInput = inputOptions;
    const int taskIndex = engine.AddTask(inputOptions.FileName, &taskInput);
    if (taskIndex < 0) {
        const QString reason = QString::fromStdString(engine.LastErrMsg());
        Log(QStringLiteral("***File open error: ") + reason);
        ReleaseReservedOutput(QString::fromStdString(outputOptions.FileName));
        dialog->deleteLater();
        return reason;
    }
    auto objects = std::make_unique<TQueueRowObjects>();
    objects->IOOptions.TaskIndex = taskIndex;
    objects->IOOptions.InputFileName = QString::fromStdString(inputOptions.FileName);
    objects->IOOptions.OutputFileName = QString::fromStdString(outputOptions.FileName);
    objects->IOOptions.OutputOptions = outputOptions;
    objects->IOOptions.InputOptions = inputOptions;
    objects->Dialog = dialog;
    const TCotainerIOOptions& io = objects->IOOptions;
    QTreeWidgetItem* item = FRows.Append(std::move(objects));
    const int row = FRows.RowOf(item);
    ShowProbeTexts(*item, FRows.IOOptions(row).InputFileName, io.OutputFileName);
    item->setText(qcStatus, kStatusWaiting);
    item->setText(qcSettings, kSettingsLinkText);
    ShowAsLink(*item, qcSettings, FWindow.lvFiles->palette().color(QPalette::Link));
    FitLastColumn();
    Log(QStringLiteral("***File has been added to convert list."));
    FRun->Buttons().RowAdded();
    ApplyButtons();
    emit QueueChanged();
    return {};
}

void TQueueController::AppendRestoredRow(std::unique_ptr<TQueueRowObjects> objects,
                                         const QStringList& texts) {
    FWindow.Panel_Gettingstarted->hide();
    QTreeWidgetItem* item = FRows.Append(std::move(objects));
    for (int column = qcInput; column < qcSettings; ++column) item->setText(column, texts.value(column));
    item->setText(qcSettings, kSettingsLinkText);
    ShowAsLink(*item, qcSettings, FWindow.lvFiles->palette().color(QPalette::Link));
    FitLastColumn();
    FRun->Buttons().RowAdded();
    ApplyButtons();
}

void TQueueController::UpdateRow(int row, const TOutputOptions& outputOptions,
                                 const TInputOptions& inputOptions) {
    TCotainerIOOptions& io = FRows.IOOptions(row);
    const QString newOutput = QString::fromStdString(outputOptions.FileName);
    // The input record (trim start, forced format) is the task's: it is made again with it.
    TInputOptions taskInput = inputOptions;
    TFFmpegEngine& engine = *FWindow.VADOR;
    if (!engine.ReplaceTask(io.TaskIndex, inputOptions.FileName, &taskInput)) {
        Log(QStringLiteral("***File open error: ") + QString::fromStdString(engine.LastErrMsg()));
        if (newOutput != io.OutputFileName) ReleaseReservedOutput(newOutput);
        return;
    }
    // The earlier reservation goes when the dialog reserved another name.
    if (newOutput != io.OutputFileName) ReleaseReservedOutput(io.OutputFileName);
    io.InputFileName = QString::fromStdString(inputOptions.FileName);
    io.OutputFileName = newOutput;
    io.OutputOptions = outputOptions;
    io.InputOptions = inputOptions;
    QTreeWidgetItem* item = FRows.Item(row);
    ShowProbeTexts(*item, io.InputFileName, io.OutputFileName);
    item->setText(qcStatus, kStatusWaiting);
    item->setText(qcSettings, kSettingsLinkText);
    Log(QStringLiteral("***File has been added to convert list."));
    emit QueueChanged();
}

// The probe still holds the file: its duration and size.
void TQueueController::ShowProbeTexts(QTreeWidgetItem& item, const QString& inputPath,
                                      const QString& outputPath) {
    TAVProbe& probe = FWindow.VADOR->AVProbe();
    item.setText(qcInput, FileNamePart(inputPath));
    item.setText(qcTotalTime, TotalTimeText(probe.GetFileStreamInfo().Duration));
    item.setText(qcFileSize, MegabytesText(probe.FileSize()));
    item.setText(qcOutput, FileNamePart(outputPath));
}

void TQueueController::FitLastColumn() {
    TListViewEx& list = *FWindow.lvFiles;
    const QScrollBar* horizontal = list.horizontalScrollBar();
    const bool scrolls = horizontal->isVisible() && horizontal->maximum() > horizontal->minimum();
    const int scrollBarWidth = list.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    list.header()->resizeSection(qcSettings,
                                 scrolls ? kSettingsColumnWidth - scrollBarWidth : kSettingsColumnWidth);
}

// --- Removing, clearing, moving --------------------------------------------------------------

void TQueueController::btnRemoveClick() {
    const int row = FRows.SelectedRow();
    if (row < 0) return;
    CommitRename();
    const TCotainerIOOptions& io = FRows.IOOptions(row);
    ReleaseReservedOutput(io.OutputFileName);
    const int removedTask = io.TaskIndex;
    // A row brought back ended, or with its source gone, has no task.
    if (removedTask >= 0) {
        FWindow.VADOR->RemoveTask(removedTask);
        for (int other = 0; other < FRows.RowCount(); ++other)
            if (FRows.IOOptions(other).TaskIndex > removedTask) --FRows.IOOptions(other).TaskIndex;
    }
    FRows.Delete(row);
    FitLastColumn();
    FRun->Buttons().RowRemoved(FRows.RowCount() > 0);
    ApplyButtons();
    ShowQueueInTitle();
    emit QueueChanged();
}

void TQueueController::btnClearClick() {
    CommitRename();
    // First: while tasks still run this raises, and no output they write is touched.
    FWindow.VADOR->ClearTasks();
    for (int row = 0; row < FRows.RowCount(); ++row)
        ReleaseReservedOutput(FRows.IOOptions(row).OutputFileName);
    FRows.DeleteAll();
    FWindow.lvFiles->header()->resizeSection(qcSettings, kSettingsColumnWidth);
    FRun->Buttons().QueueCleared();
    ApplyButtons();
    ShowQueueInTitle();
    emit QueueChanged();
}

void TQueueController::btnUpClick() {
    CommitRename();
    const int row = FRows.SelectedRow();
    if (FRows.RowCount() < 2 || row <= 0) return;
    FRows.Move(row, -1);
    emit QueueChanged();
}

void TQueueController::btnDownClick() {
    CommitRename();
    const int row = FRows.SelectedRow();
    if (FRows.RowCount() < 2 || row < 0 || row >= FRows.RowCount() - 1) return;
    FRows.Move(row, +1);
    emit QueueChanged();
}

void TQueueController::ShowQueueInTitle() {
    int completed = 0, aborted = 0;
    for (int row = 0; row < FRows.RowCount(); ++row) {
        const QString status = FRows.StatusText(row);
        completed += status == kStatusCompleted;
        aborted += status == kStatusAborted;
    }
    const bool counting = FRun->Running() || completed + aborted > 0;
    FWindow.setWindowTitle(
            counting ? QueueTitleText(TfrmMain::kWindowTitle, completed, aborted, FRows.RowCount())
                     : TfrmMain::kWindowTitle);
}

// --- Run --------------------------------------------------------------------------------------

void TQueueController::btnStartClick() {
    CommitRename();
    // The "processes" setting through the hidden thread count box, as the run reads it.
    FWindow.edtThreadCount->setText(QString::number(FSettings.Values().Processes));
    bool number = false;
    int processes = FWindow.edtThreadCount->text().toInt(&number);
    if (!number) processes = 1;
    FRun->Start(processes, FWindow.PriorityIndex());
    ShowQueueInTitle();
}

void TQueueController::btnPauseClick() {
    FRun->Pause();
}

void TQueueController::btnStopClick() {
    FRun->Stop();
}

void TQueueController::ApplyButtons() {
    const TCommandButtons& buttons = FRun->Buttons();
    FWindow.btnAdd->SetEnabled(buttons.Add);
    FWindow.btnRemove->SetEnabled(buttons.Remove);
    FWindow.btnClear->SetEnabled(buttons.Clear);
    FWindow.btnStart->SetEnabled(buttons.Start);
    FWindow.btnStop->SetEnabled(buttons.Stop);
    FWindow.btnPause->SetEnabled(buttons.Pause);
    FWindow.btnUp->SetEnabled(buttons.UpDown);
    FWindow.btnDown->SetEnabled(buttons.UpDown);
}

void TQueueController::Log(const QString& line, bool spaced) {
    TActivityLog& log = FWindow.ActivityLog();
    if (spaced) log.AppendLine(QString());
    log.AppendLine(line);
    if (spaced) log.AppendLine(QString());
}

// --- Row clicks: settings and the in-place rename --------------------------------------------

void TQueueController::lvFilesClick(QTreeWidgetItem* item, int column) {
    if (FWindow.pnlLVEdit->isVisible()) {
        CommitRename();
        return;
    }
    const int row = FRows.RowOf(item);
    if (row < 0 || FRun->Running()) {
        FWindow.lvFiles->viewport()->unsetCursor();
        return;
    }
    if (!FRows.ItemState(row).Editable) return;
    if (column == qcSettings) TakeUp(FRows.IOOptions(row).InputFileName, row);
    if (column == qcOutput) BeginRename(row);
}

void TQueueController::UpdatePointer(QPoint viewportPosition) {
    TListViewEx& list = *FWindow.lvFiles;
    const QTreeWidgetItem* item = list.itemAt(viewportPosition);
    const int row = FRows.RowOf(item);
    const bool link = row >= 0 && !FRun->Running() && list.columnAt(viewportPosition.x()) == qcSettings &&
                      FRows.ItemState(row).Editable;
    if (link)
        list.viewport()->setCursor(Qt::PointingHandCursor);
    else
        list.viewport()->unsetCursor();
}

void TQueueController::BeginRename(int row) {
    TListViewEx& list = *FWindow.lvFiles;
    QTreeWidgetItem* item = FRows.Item(row);
    const QRect cell = list.visualRect(list.indexFromItem(item, qcOutput));
    const QPoint place = list.viewport()->mapTo(&FWindow, cell.topLeft()) + QPoint(2, 2);
    FWindow.pnlLVEdit->setGeometry(QRect(place, cell.size()));
    FWindow.edtLVEdit->setGeometry(0, 0, cell.width() - 6, cell.height());
    FWindow.edtLVEdit->setText(WithoutExtension(item->text(qcOutput)));
    FEditItem = item;  // the row, wherever it moves
    FWindow.pnlLVEdit->show();
    FWindow.pnlLVEdit->raise();
    FWindow.edtLVEdit->setFocus();
}

void TQueueController::FilterTypedName() {
    QLineEdit& editor = *FWindow.edtLVEdit;
    const QString filtered = FilteredOutputName(editor.text());
    if (filtered == editor.text()) return;
    const int cursor = editor.cursorPosition() - (editor.text().size() - filtered.size());
    editor.setText(filtered);
    editor.setCursorPosition(std::max(0, cursor));
}

void TQueueController::CommitRename() {
    if (!FWindow.pnlLVEdit->isVisible()) return;
    FWindow.pnlLVEdit->hide();
    const int row = FRows.RowOf(FEditItem);
    FEditItem = nullptr;
    if (row < 0) return;
    QTreeWidgetItem* item = FRows.Item(row);
    const QString outputText = item->text(qcOutput);
    const QString typed = FWindow.edtLVEdit->text();
    // An empty name would leave only the extension: the row keeps its name.
    if (typed == WithoutExtension(outputText) || typed.isEmpty()) return;
    TCotainerIOOptions& io = FRows.IOOptions(row);
    const QString folder = QFileInfo(io.OutputFileName).absolutePath() + QLatin1Char('/');
    const QString chosen = RenamedOutputPath(folder, typed, ExtensionOf(outputText));
    if (!ReserveOutputName(chosen)) {
        Log(QStringLiteral("***Cannot create ") + chosen);
        return;
    }
    // The old name was a reservation; a file with content there is never deleted.
    ReleaseReservedOutput(io.OutputFileName);
    item->setText(qcOutput, FileNamePart(chosen));
    io.OutputFileName = chosen;
    io.OutputOptions.FileName = chosen.toStdString();
    emit QueueChanged();
}

// --- Popup menu and the output's commands ------------------------------------------------------

void TQueueController::PopupMenu1Popup() {
    FWindow.mnuAdd->setEnabled(FWindow.btnAdd->isEnabled());
    FWindow.mnuRemove->setEnabled(FWindow.btnRemove->isEnabled());
    FWindow.mnuClear->setEnabled(FWindow.btnClear->isEnabled());
    FWindow.mnuOpenFolder->setEnabled(FRows.RowCount() > 0);
    const int row = FRows.SelectedRow();
    FWindow.mnuPlayOutput->setEnabled(row >= 0 && FRows.StatusText(row).contains(kStatusCompleted));
}

QString TQueueController::SelectedOutput() const {
    const int row = FRows.SelectedRow();
    return row >= 0 ? FRows.ObjectsOf(row).IOOptions.OutputFileName : QString();
}

void TQueueController::mnuPlayClick() {
    const QString output = SelectedOutput();
    if (!output.isEmpty()) ShellOpenOrSay(output);
}

void TQueueController::mnuOpenFolderClick() {
    const QString output = SelectedOutput();
    if (!output.isEmpty() && QFileInfo(output).isFile()) ShowInFileManagerOrSay(output);
}

void TQueueController::btnLocationClick() {
    QString path = SelectedOutput();
    if (path.isEmpty()) path = ResolveOutputFolder(FSettings.Values().OutputFolder);
    if (path.isEmpty()) return;
    if (QFileInfo(path).isFile())
        ShowInFileManagerOrSay(path);
    else
        ShellOpenOrSay(path);
}

// --- Window events: drops on the window, commit points, the link pointer ----------------------

bool TQueueController::eventFilter(QObject* watched, QEvent* event) {
    TListViewEx& list = *FWindow.lvFiles;
    if (watched == list.viewport()) {
        const QPoint position =
                event->type() == QEvent::MouseMove || event->type() == QEvent::MouseButtonPress
                        ? static_cast<QMouseEvent*>(event)->position().toPoint()
                        : QPoint();
        if (event->type() == QEvent::MouseMove) UpdatePointer(position);
        // A click on a row commits through the row's click; one beside the rows commits here.
        if (event->type() == QEvent::MouseButtonPress && !list.itemAt(position)) CommitRename();
        return false;
    }
    if (watched == list.header()->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) CommitRename();
        return false;
    }
    if (watched != &FWindow) return false;
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            CommitRename();
            break;
        case QEvent::Close:
            if (MayCloseDuringRun(FWindow, FRun->Running())) break;
            event->ignore();
            return true;
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (drag->mimeData()->hasUrls()) drag->acceptProposedAction();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            QStringList paths;
            for (const QUrl& url : drop->mimeData()->urls())
                if (url.isLocalFile()) paths << url.toLocalFile();
            drop->acceptProposedAction();
            // After the drop has returned: the options dialog is modal.
            QTimer::singleShot(0, this, [this, paths] { DropFiles(paths); });
            return true;
        }
        default:
            break;
    }
    return false;
}

}  // namespace kestrova
