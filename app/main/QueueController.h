#pragma once
// The conversion queue and its run, attached to the main window's components: adding files (the
// open dialog, drops on the window or the list, the program's arguments), the rows with their own
// options dialogs, re-editing, renaming an output in place, removing, clearing and moving rows,
// Start, Pause and Stop with the per-row progress, the popup menu's commands and the location
// button, and the frames the custom hook stamps.
//
// The program makes one after its windows (it needs the profile picker) and frees it before
// them; freeing it stops the conversions and clears the queue, giving back the outputs that were
// only reserved.
#include "app/main/QueueListRows.h"
#include "app/queue/FrameStamp.h"
#include "app/queue/RunControl.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QTreeWidgetItem;

namespace kestrova {

class TFileIntake;
class TListMenu;
class TSettingsStore;
class TfrmMain;

class TQueueController : public QObject {
    Q_OBJECT
public:
    TQueueController(TfrmMain& window, TListMenu& picker, TSettingsStore& settings);
    ~TQueueController() override;

    // Takes up a file for a new row: probe, options dialog, engine task.
    void TakeUpNewFile(const QString& path);
    // Files chosen together (the open dialog, the program's arguments): one batch.
    void TakeUpNewFiles(const QStringList& paths);
    // A drop on the window or the list, when the queue takes files: one file as it always was
    // ("Invalid File!" for a type the queue does not convert), several files or folders as one
    // batch.
    void DropFiles(const QStringList& paths);

    void btnAddClick();
    void btnRemoveClick();
    void btnClearClick();
    void btnUpClick();
    void btnDownClick();
    void btnStartClick();
    void btnPauseClick();
    void btnStopClick();
    void btnLocationClick();
    void mnuPlayClick();
    void mnuOpenFolderClick();

    // Commits the in-place rename when its editor is shown.
    void CommitRename();

    // A row the saved queue brings back, with its objects made by the caller and the texts of
    // its columns from "Input" to "Status".
    void AppendRestoredRow(std::unique_ptr<TQueueRowObjects> objects, const QStringList& texts);

    TQueueListRows& Rows() { return FRows; }
    TRunControl& Run() { return *FRun; }

signals:
    // The rows changed: one added, edited again, renamed, moved or removed, or all cleared.
    void QueueChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ConnectHandlers();
    bool LoadMediaLibraries();
    void TakeUp(const QString& path, int reEditRow);
    // Empty when the row was made, else the engine's reason.
    QString CreateRow(TfrmOption* dialog, const TOutputOptions& outputOptions,
                      const TInputOptions& inputOptions);
    void UpdateRow(int row, const TOutputOptions& outputOptions, const TInputOptions& inputOptions);
    void ShowProbeTexts(QTreeWidgetItem& item, const QString& inputPath, const QString& outputPath);
    void FitLastColumn();
    void ApplyButtons();
    void Log(const QString& line, bool spaced = true);
    void lvFilesClick(QTreeWidgetItem* item, int column);
    void UpdatePointer(QPoint viewportPosition);
    void BeginRename(int row);
    void FilterTypedName();
    void PopupMenu1Popup();
    // The window's title tells, from Start on, how many rows of the run have ended.
    void ShowQueueInTitle();
    QString SelectedOutput() const;

    TfrmMain& FWindow;
    TListMenu& FPicker;
    TSettingsStore& FSettings;
    TQueueListRows FRows;
    std::unique_ptr<TRunControl> FRun;
    std::unique_ptr<TFileIntake> FIntake;
    std::shared_ptr<TFrameStamp> FFrameStamp;
    QTreeWidgetItem* FEditItem = nullptr;  // the row whose output the editor renames
};

}  // namespace kestrova
