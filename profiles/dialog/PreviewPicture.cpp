#include "profiles/dialog/PreviewPicture.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace kestrova {

QRect AspectFitRect(const QSize& source, const QRect& target) {
    if (source.isEmpty() || target.isEmpty()) return {};
    const double ax = static_cast<double>(source.width()) / target.width();
    const double ay = static_cast<double>(source.height()) / target.height();
    if (ax >= ay) {
        const double height = source.height() / ax;
        const int top = static_cast<int>(std::lround((target.height() - height) / 2));
        return {target.left(), target.top() + top, target.width(), static_cast<int>(std::lround(height))};
    }
    const double width = source.width() / ay;
    const int left = static_cast<int>(std::lround((target.width() - width) / 2));
    return {target.left() + left, target.top(), static_cast<int>(std::lround(width)), target.height()};
}

QImage BitmapImage(const TEngineBitmap& bitmap) {
    return QImage(bitmap.Bits(), bitmap.Width(), bitmap.Height(), bitmap.BytesPerLine(),
                  QImage::Format_BGR888);
}

TPreviewPicture::TPreviewPicture(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPreviewPicture::PictureChanged() {
    setCursor(HasPicture() ? Qt::PointingHandCursor : Qt::ArrowCursor);
    update();
}

void TPreviewPicture::Clear() {
    FBitmap.SetSize(0, 0);
    PictureChanged();
}

void TPreviewPicture::Release() {
    FBitmap = TEngineBitmap();
    PictureChanged();
}

QRect TPreviewPicture::PictureRect() const {
    if (!HasPicture()) return {};
    return AspectFitRect(QSize(FBitmap.Width(), FBitmap.Height()), rect());
}

void TPreviewPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(kBackground));
    if (!HasPicture()) return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(PictureRect(), BitmapImage(FBitmap));
}

void TPreviewPicture::mousePressEvent(QMouseEvent* event) {
    FPressed = event->button() == Qt::LeftButton;
    event->accept();
}

void TPreviewPicture::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
            FPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    FPressed = false;
    event->accept();
    if (click && HasPicture()) emit Clicked();
}

}  // namespace kestrova
