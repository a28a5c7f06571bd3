#include "shell/MessageBoxes.h"

#include "shell/ApplicationTitle.h"
#include "ui/skin/SkinPalette.h"

#include <QApplication>

namespace kestrova {

namespace {

int ExecSkinned(QMessageBox& box) {
    box.setPalette(skin::DialogPalette(box.palette()));
    return box.exec();
}

}  // namespace

void ShowMessageBox(QWidget* owner, QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, kApplicationTitle, text, QMessageBox::Ok,
                    owner ? owner : QApplication::activeWindow());
    ExecSkinned(box);
}

bool AskYesNo(QWidget* owner, const QString& question, bool yesByDefault) {
    QMessageBox box(QMessageBox::Question, kApplicationTitle, question, QMessageBox::Yes | QMessageBox::No,
                    owner ? owner : QApplication::activeWindow());
    box.setDefaultButton(yesByDefault ? QMessageBox::Yes : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    ExecSkinned(box);
    return box.clickedButton() == box.button(QMessageBox::Yes);
}

}  // namespace kestrova
