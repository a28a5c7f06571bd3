#pragma once
#include <QString>

class QWidget;

namespace kestrova::platform {

// A one-line input box.
class TTextPrompt {
public:
    virtual ~TTextPrompt() = default;

    // The entered text on OK, empty on Cancel.
    virtual QString Ask(QWidget* owner, const QString& caption, const QString& prompt,
                        const QString& initialText) = 0;
};

}  // namespace kestrova::platform
