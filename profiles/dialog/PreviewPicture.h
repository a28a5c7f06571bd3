#pragma once
#include "engine/frame/EngineBitmap.h"

#include <QWidget>

namespace kestrova {

// The preview picture: the decoded bitmap drawn into the widget scaled to fit with its aspect
// kept and centred, on the preview colour. A click asks for the picture in actual size.
class TPreviewPicture : public QWidget {
    Q_OBJECT

public:
    static constexpr QRgb kBackground = 0xFFA6CAF0;

    explicit TPreviewPicture(QWidget* parent = nullptr);

    // The bitmap the preview decodes into; call PictureChanged() after writing it.
    TEngineBitmap& Bitmap() { return FBitmap; }
    const TEngineBitmap& Bitmap() const { return FBitmap; }
    bool HasPicture() const { return FBitmap.Width() > 0 && FBitmap.Height() > 0; }
    void PictureChanged();
    void Clear();
    // Clears the picture and gives its memory back (the bitmap alone only ever grows).
    void Release();

    // Where the picture is drawn: the whole width or height of the widget, the spare space
    // split evenly on both sides (rounded); empty without a picture.
    QRect PictureRect() const;

signals:
    void Clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TEngineBitmap FBitmap;
    bool FPressed = false;
};

// The rectangle a source of that size fills in `target`, scaled with its aspect kept.
QRect AspectFitRect(const QSize& source, const QRect& target);

// An image over the bitmap's own memory (no copy): valid while the bitmap keeps its size.
QImage BitmapImage(const TEngineBitmap& bitmap);

}  // namespace kestrova
