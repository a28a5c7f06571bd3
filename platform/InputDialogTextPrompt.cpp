#include "platform/InputDialogTextPrompt.h"

#include <QInputDialog>

namespace kestrova::platform {

QString TInputDialogTextPrompt::Ask(QWidget* owner, const QString& caption, const QString& prompt,
                                    const QString& initialText) {
    bool accepted = false;
    const QString text =
            QInputDialog::getText(owner, caption, prompt, QLineEdit::Normal, initialText, &accepted);
    return accepted ? text : QString();
}

}  // namespace kestrova::platform
