#pragma once
// The queue's rows as the main window's list shows them: one list item per row, in display
// order, with the row's three objects (its engine records, its edit state and its own options
// dialog) kept beside the item and freed with it.
#include "app/queue/QueueRows.h"

#include <QPointer>

#include <map>
#include <memory>

class QTreeWidgetItem;

namespace kestrova {

class TfrmOption;
class TListViewEx;

// The columns of the queue list.
enum TQueueColumn {
    qcInput,
    qcTotalTime,
    qcFileSize,
    qcOutput,
    qcOutputDuration,
    qcOutputSize,
    qcStatus,
    qcSettings
};

struct TQueueRowObjects {
    TCotainerIOOptions IOOptions;
    TLVItemState ItemState;
    QPointer<TfrmOption> Dialog;  // owned by the main window; deleted with the row
};

class TQueueListRows : public TQueueRows {
public:
    explicit TQueueListRows(TListViewEx& list) : FList(list) {}
    ~TQueueListRows() override;

    int RowCount() const override;
    TCotainerIOOptions& IOOptions(int row) override { return ObjectsOf(row).IOOptions; }
    TLVItemState& ItemState(int row) override { return ObjectsOf(row).ItemState; }
    QString StatusText(int row) const override;
    void SetStatusText(int row, const QString& text) override;
    void SetOutputText(int row, const QString& text) override;
    void SetOutputDurationText(int row, const QString& text) override;
    void SetOutputSizeText(int row, const QString& text) override;
    void SetFailureText(int row, const QString& text) override;
    QString FailureText(int row) const;
    QString OutputDurationText(int row) const;
    QString OutputSizeText(int row) const;

    // Appends an item for the row and keeps its objects with it.
    QTreeWidgetItem* Append(std::unique_ptr<TQueueRowObjects> objects);
    // Deletes the row's item, its objects and its dialog.
    void Delete(int row);
    void DeleteAll();
    // Moves the row by `delta` places, its objects with it, and selects it.
    void Move(int row, int delta);

    QTreeWidgetItem* Item(int row) const;
    int RowOf(const QTreeWidgetItem* item) const;
    TQueueRowObjects& ObjectsOf(int row) const;
    // The selected row, or -1.
    int SelectedRow() const;

private:
    TListViewEx& FList;
    std::map<const QTreeWidgetItem*, std::unique_ptr<TQueueRowObjects>> FObjects;
};

}  // namespace kestrova
