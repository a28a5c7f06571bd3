#include "app/main/QueueListRows.h"

#include "app/main/FailedRows.h"
#include "profiles/dialog/OptionFrm.h"
#include "ui/skin/ListViewEx.h"

#include <stdexcept>

namespace kestrova {

TQueueListRows::~TQueueListRows() {
    for (auto& [item, objects] : FObjects)
        if (objects->Dialog) delete objects->Dialog.data();
}

int TQueueListRows::RowCount() const {
    return FList.topLevelItemCount();
}

QTreeWidgetItem* TQueueListRows::Item(int row) const {
    QTreeWidgetItem* item = FList.topLevelItem(row);
    if (!item) throw std::out_of_range("no queue row " + std::to_string(row));
    return item;
}

int TQueueListRows::RowOf(const QTreeWidgetItem* item) const {
    return item ? FList.indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item)) : -1;
}

TQueueRowObjects& TQueueListRows::ObjectsOf(int row) const {
    return *FObjects.at(Item(row));
}

int TQueueListRows::SelectedRow() const {
    const QList<QTreeWidgetItem*> selected = FList.selectedItems();
    return selected.isEmpty() ? -1 : RowOf(selected.first());
}

QString TQueueListRows::StatusText(int row) const {
    return Item(row)->text(qcStatus);
}

void TQueueListRows::SetStatusText(int row, const QString& text) {
    Item(row)->setText(qcStatus, text);
}

void TQueueListRows::SetOutputText(int row, const QString& text) {
    Item(row)->setText(qcOutput, text);
}

void TQueueListRows::SetOutputDurationText(int row, const QString& text) {
    Item(row)->setText(qcOutputDuration, text);
}

void TQueueListRows::SetOutputSizeText(int row, const QString& text) {
    Item(row)->setText(qcOutputSize, text);
}

void TQueueListRows::SetFailureText(int row, const QString& text) {
    ShowRowFailure(*Item(row), qcOutputDuration, ObjectsOf(row).IOOptions.InputFileName, text);
}

QString TQueueListRows::FailureText(int row) const {
    return Item(row)->toolTip(qcStatus);
}

QString TQueueListRows::OutputDurationText(int row) const {
    return Item(row)->text(qcOutputDuration);
}

QString TQueueListRows::OutputSizeText(int row) const {
    return Item(row)->text(qcOutputSize);
}

QTreeWidgetItem* TQueueListRows::Append(std::unique_ptr<TQueueRowObjects> objects) {
    auto* item = new QTreeWidgetItem(&FList);  // the list owns its items
    FObjects[item] = std::move(objects);
    return item;
}

void TQueueListRows::Delete(int row) {
    QTreeWidgetItem* item = Item(row);
    const auto found = FObjects.find(item);
    if (found != FObjects.end()) {
        if (found->second->Dialog) delete found->second->Dialog.data();
        FObjects.erase(found);
    }
    delete item;
}

void TQueueListRows::DeleteAll() {
    while (RowCount() > 0) Delete(RowCount() - 1);
}

void TQueueListRows::Move(int row, int delta) {
    const int target = row + delta;
    if (row < 0 || target < 0 || target >= RowCount()) return;
    QTreeWidgetItem* item = FList.takeTopLevelItem(row);
    FList.insertTopLevelItem(target, item);
    FList.setCurrentItem(item);
}

}  // namespace kestrova
