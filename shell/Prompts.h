#pragma once
#include <QString>

class QWidget;

namespace kestrova {

// Lets the user pick a file-system folder. Returns its path without trailing separator, or
// empty on cancel. With centreOnScreen the browser opens in the middle of the work area.
QString BrowseForFolder(QWidget* owner, const QString& title, bool centreOnScreen = false,
                        const QString& startFolder = QString());

// Asks for one line of text: the text on OK, empty on Cancel.
QString AskForText(QWidget* owner, const QString& caption, const QString& prompt, const QString& initialText);

}  // namespace kestrova
