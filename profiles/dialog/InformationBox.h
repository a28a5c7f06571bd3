#pragma once
// Information messages of the profile windows (a folder on a CD-ROM, help texts): a message
// box with the information icon. Tests install a recorder in place of the box.
#include <QString>

#include <functional>

class QWidget;

namespace kestrova {

struct TInformation {
    QString Caption;
    QString Text;
};

using TInformationHandler = std::function<void(QWidget* owner, const TInformation& information)>;

// Installs the handler that shows information (empty: the message box); returns the previous one.
TInformationHandler SetInformationDisplay(TInformationHandler handler);

// Shows the text with the application's name as caption.
void ShowInformation(QWidget* owner, const QString& text);
// Shows the text under a caption of its own.
void ShowInformation(QWidget* owner, const QString& caption, const QString& text);

}  // namespace kestrova
