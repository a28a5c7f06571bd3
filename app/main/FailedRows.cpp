#include "app/main/FailedRows.h"

#include "app/main/QueueListRows.h"
#include "app/queue/QueueTexts.h"
#include "ui/skin/SkinPalette.h"

#include <QFileInfo>
#include <QStringList>
#include <QTreeWidgetItem>

namespace kestrova {

namespace {

QString WithoutLeadingPath(const QString& inputPath, const QString& failure) {
    const QString prefix = inputPath + QStringLiteral(": ");
    return failure.startsWith(prefix) ? failure.mid(prefix.size()) : failure;
}

}  // namespace

void ShowRowFailure(QTreeWidgetItem& item, int outputDurationColumn, const QString& inputPath,
                    const QString& failure) {
    for (int column = 0; column < item.columnCount(); ++column) item.setToolTip(column, failure);
    if (failure.isEmpty()) return;
    item.setText(outputDurationColumn, WithoutLeadingPath(inputPath, failure));
    item.setForeground(outputDurationColumn, QColor(skin::kFailureText));
}

QString FailedRowsMessage(const TQueueListRows& rows) {
    QStringList lines;
    for (int row = 0; row < rows.RowCount(); ++row) {
        const QString failure = rows.FailureText(row);
        if (failure.isEmpty() || rows.StatusText(row) != kStatusAborted) continue;
        const QString input = rows.ObjectsOf(row).IOOptions.InputFileName;
        lines << QFileInfo(input).fileName() + QStringLiteral(": ") + WithoutLeadingPath(input, failure);
    }
    if (lines.isEmpty()) return {};
    const QString heading = lines.size() == 1 ? QStringLiteral("This file could not be converted:")
                                              : QStringLiteral("These files could not be converted:");
    return heading + QStringLiteral("\n\n") + lines.join(QLatin1Char('\n'));
}

}  // namespace kestrova
