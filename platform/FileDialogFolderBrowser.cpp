#include "platform/FileDialogFolderBrowser.h"

#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QScreen>

namespace kestrova::platform {

namespace {

QScreen* ScreenOf(const QWidget* owner)
{
    return owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
}

void CentreOnWorkArea(QWidget& dialog, const QWidget* owner)
{
    const QScreen* screen = ScreenOf(owner);
    if (!screen)
        return;
    QRect frame(QPoint(), dialog.sizeHint());
    frame.moveCenter(screen->availableGeometry().center());
    dialog.move(frame.topLeft());
}

} // namespace

QString FileDialogFolderBrowser::Choose(const FolderBrowseRequest& request)
{
    QFileDialog dialog(request.owner, request.title, request.startFolder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (request.centreOnScreen)
        CentreOnWorkArea(dialog, request.owner);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return QDir::cleanPath(dialog.selectedFiles().constFirst());
}

} // namespace kestrova::platform
