#include "profiles/dialog/InformationBox.h"

#include "shell/ApplicationTitle.h"
#include "ui/skin/SkinPalette.h"

#include <QMessageBox>

#include <utility>

namespace kestrova {

namespace {

TInformationHandler& InstalledHandler() {
    static TInformationHandler handler;
    return handler;
}

}  // namespace

TInformationHandler SetInformationDisplay(TInformationHandler handler) {
    return std::exchange(InstalledHandler(), std::move(handler));
}

void ShowInformation(QWidget* owner, const QString& text) {
    ShowInformation(owner, kApplicationTitle, text);
}

void ShowInformation(QWidget* owner, const QString& caption, const QString& text) {
    const TInformation information{caption, text};
    if (const TInformationHandler& handler = InstalledHandler()) {
        handler(owner, information);
        return;
    }
    QMessageBox box(QMessageBox::Information, information.Caption, information.Text, QMessageBox::Ok, owner);
    box.setPalette(skin::DialogPalette(box.palette()));
    box.exec();
}

}  // namespace kestrova
