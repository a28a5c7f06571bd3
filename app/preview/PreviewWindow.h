#pragma once
// The window in which a running conversion shows its pictures: a small tool window on top of
// the others, captioned with the picture's time, the first picture fitted into 480 x 360 (a
// double click toggles its actual size), placed beside the main window, dragged by its picture
// with the left button. Closing it ends the preview of that conversion.
#include "engine/frame/Previewer.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace kestrova {

class TQtPreviewWindow : public QWidget, public TPreviewWindow {
    Q_OBJECT

public:
    // `beside` is the window the preview keeps clear of (none: centred on the screen).
    explicit TQtPreviewWindow(std::function<void()> closedByUser, const QWidget* beside = nullptr);
    ~TQtPreviewWindow() override;

    void Paint(const TEngineBitmap& bitmap, const std::string& caption) override;

    // The picture last drawn.
    const QImage& Frame() const { return FFrame; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateFor(const TEngineBitmap& bitmap);
    void CopyFrame(const TEngineBitmap& bitmap);

    void Place();

    std::function<void()> FClosedByUser;
    QPointer<const QWidget> FBeside;
    int FIndex = 0;  // among the preview windows open at once
    QImage FFrame;   // made once at the first picture's size; later pictures are copied into it
};

// Makes the conversions' preview windows Qt windows for as long as it lives (main thread).
class TPreviewWindowRegistration {
public:
    // The windows keep clear of `beside` (the main window).
    explicit TPreviewWindowRegistration(const QWidget* beside = nullptr);
    ~TPreviewWindowRegistration();
    TPreviewWindowRegistration(const TPreviewWindowRegistration&) = delete;
    TPreviewWindowRegistration& operator=(const TPreviewWindowRegistration&) = delete;
};

}  // namespace kestrova
