#include "platform/FileDialogFolderBrowser.h"

#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QScreen>

namespace kestrova::platform {

namespace {

QScreen* ScreenOf(const QWidget* owner) {
    return owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
}

void CentreOnWorkArea(QWidget& dialog, const QWidget* owner) {
    const QScreen* screen = ScreenOf(owner);
    if (!screen) return;
    QRect frame(QPoint(), dialog.sizeHint());
    frame.moveCenter(screen->availableGeometry().center());
    dialog.move(frame.topLeft());
}

}  // namespace

QString TFileDialogFolderBrowser::Choose(const TFolderBrowseRequest& request) {
    QFileDialog dialog(request.Owner, request.Title, request.StartFolder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    // In its owner's colours, as a part of the window it was opened from.
    if (request.Owner) dialog.setPalette(request.Owner->palette());
    if (request.CentreOnScreen) CentreOnWorkArea(dialog, request.Owner);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return QDir::cleanPath(dialog.selectedFiles().constFirst());
}

}  // namespace kestrova::platform
