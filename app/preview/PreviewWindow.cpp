#include "app/preview/PreviewWindow.h"

#include "shell/WindowPlacement.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cstring>
#include <utility>

namespace kestrova {

TQtPreviewWindow::TQtPreviewWindow(std::function<void()> closedByUser)
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      FClosedByUser(std::move(closedByUser)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TQtPreviewWindow::Paint(const TEngineBitmap& bitmap, const std::string& caption) {
    if (FFrame.isNull()) CreateFor(bitmap);
    setWindowTitle(QString::fromStdString(caption));
    CopyFrame(bitmap);
    update();
}

void TQtPreviewWindow::CreateFor(const TEngineBitmap& bitmap) {
    FFrame = QImage(bitmap.Width(), bitmap.Height(), QImage::Format_BGR888);
    FFrame.fill(Qt::black);
    setFixedSize(bitmap.Width(), bitmap.Height());
    CentreOnDesktop(*this);
    show();
}

// The job's bitmap is only read here, while its worker waits; later pictures keep the first
// one's size, a larger one is cut to it.
void TQtPreviewWindow::CopyFrame(const TEngineBitmap& bitmap) {
    const int lines = std::min(bitmap.Height(), FFrame.height());
    const auto bytes = static_cast<std::size_t>(std::min(bitmap.Width(), FFrame.width()) * 3);
    for (int y = 0; y < lines; ++y) std::memcpy(FFrame.scanLine(y), bitmap.Line(y), bytes);
}

void TQtPreviewWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.drawImage(0, 0, FFrame);
}

void TQtPreviewWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) DragWindow(*this);
}

void TQtPreviewWindow::closeEvent(QCloseEvent* event) {
    if (FClosedByUser) FClosedByUser();
    event->accept();
}

TPreviewWindowRegistration::TPreviewWindowRegistration() {
    SetPreviewWindowFactory([](std::function<void()> closedByUser) -> std::unique_ptr<TPreviewWindow> {
        return std::make_unique<TQtPreviewWindow>(std::move(closedByUser));
    });
}

TPreviewWindowRegistration::~TPreviewWindowRegistration() {
    SetPreviewWindowFactory(nullptr);
}

}  // namespace kestrova
