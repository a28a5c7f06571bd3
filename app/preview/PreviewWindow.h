#pragma once
// The window in which a running conversion shows its pictures: a small tool window on top of
// the others, captioned with the picture's time, as large as the first picture, dragged by
// its picture with the left button. Closing it ends the preview of that conversion.
#include "engine/frame/Previewer.h"

#include <QImage>
#include <QWidget>

#include <functional>

namespace kestrova {

class TQtPreviewWindow : public QWidget, public TPreviewWindow {
    Q_OBJECT

public:
    explicit TQtPreviewWindow(std::function<void()> closedByUser);

    void Paint(const TEngineBitmap& bitmap, const std::string& caption) override;

    // The picture last drawn.
    const QImage& Frame() const { return FFrame; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateFor(const TEngineBitmap& bitmap);
    void CopyFrame(const TEngineBitmap& bitmap);

    std::function<void()> FClosedByUser;
    QImage FFrame;  // made once at the first picture's size; later pictures are copied into it
};

// Makes the conversions' preview windows Qt windows for as long as it lives (main thread).
class TPreviewWindowRegistration {
public:
    TPreviewWindowRegistration();
    ~TPreviewWindowRegistration();
    TPreviewWindowRegistration(const TPreviewWindowRegistration&) = delete;
    TPreviewWindowRegistration& operator=(const TPreviewWindowRegistration&) = delete;
};

}  // namespace kestrova
