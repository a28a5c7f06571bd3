#pragma once
// Message boxes in the skin's dark colours, captioned with the program's title, so that they
// open as part of the skinned windows rather than as light system dialogs.
#include <QMessageBox>
#include <QString>

class QWidget;

namespace kestrova {

void ShowMessageBox(QWidget* owner, QMessageBox::Icon icon, const QString& text);

// A question with Yes and No; true for Yes (Escape and closing the box answer No).
bool AskYesNo(QWidget* owner, const QString& question, bool yesByDefault);

}  // namespace kestrova
