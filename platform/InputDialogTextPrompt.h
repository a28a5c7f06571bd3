#pragma once
#include "platform/TextPrompt.h"

namespace kestrova::platform {

// Asks with the toolkit's input dialog.
class TInputDialogTextPrompt : public TTextPrompt {
public:
    QString Ask(QWidget* owner, const QString& caption, const QString& prompt,
                const QString& initialText) override;
};

}  // namespace kestrova::platform
