#include "app/main/ActivityLog.h"

namespace kestrova {

TActivityLog::TActivityLog(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setMaximumBlockCount(kMaxLines);
    setFrameShape(QFrame::NoFrame);
}

void TActivityLog::AppendLine(const QString& line) {
    appendPlainText(line);
}

QStringList TActivityLog::Lines() const {
    if (document()->isEmpty()) return {};
    return toPlainText().split(u'\n');
}

void TActivityLog::mouseDoubleClickEvent(QMouseEvent*) {
    clear();
}

}  // namespace kestrova
