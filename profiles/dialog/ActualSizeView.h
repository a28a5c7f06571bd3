#pragma once
#include <QDialog>

namespace kestrova {

class TEngineBitmap;

// The preview picture in its actual size: a fixed window as large as the picture, captioned
// "<width>x<height> PTS: <seconds>". A click on the picture, Enter or Esc closes it.
class TActualSizeView : public QDialog {
    Q_OBJECT

public:
    TActualSizeView(const TEngineBitmap& bitmap, const QString& ptsText, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    const TEngineBitmap& FBitmap;
};

}  // namespace kestrova
