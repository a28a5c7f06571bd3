#include "profiles/dialog/ActualSizeView.h"

#include "profiles/dialog/PreviewPicture.h"
#include "shell/WindowPlacement.h"

#include <QKeyEvent>
#include <QPainter>

namespace kestrova {

TActualSizeView::TActualSizeView(const TEngineBitmap& bitmap, const QString& ptsText, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      FBitmap(bitmap) {
    setObjectName(QStringLiteral("ActualSizeView"));
    setWindowTitle(QStringLiteral("%1x%2 PTS: %3").arg(bitmap.Width()).arg(bitmap.Height()).arg(ptsText));
    setFixedSize(bitmap.Width(), bitmap.Height());
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TActualSizeView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), BitmapImage(FBitmap));
}

void TActualSizeView::showEvent(QShowEvent* event) {
    CentreOnDesktop(*this);
    QDialog::showEvent(event);
}

void TActualSizeView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) reject();
}

void TActualSizeView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace kestrova
