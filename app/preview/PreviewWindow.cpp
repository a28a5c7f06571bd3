#include "app/preview/PreviewWindow.h"

#include "app/preview/PreviewPlacement.h"
#include "shell/WindowPlacement.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cstring>
#include <utility>

namespace kestrova {

namespace {

int& OpenPreviews() {
    static int count = 0;  // main thread only
    return count;
}

}  // namespace

TQtPreviewWindow::TQtPreviewWindow(std::function<void()> closedByUser, const QWidget* beside)
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      FClosedByUser(std::move(closedByUser)), FBeside(beside), FIndex(OpenPreviews()++) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TQtPreviewWindow::~TQtPreviewWindow() {
    --OpenPreviews();
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
    setFixedSize(PreviewSize(FFrame.size()));
    Place();
    show();
}

void TQtPreviewWindow::Place() {
    if (!FBeside || !FBeside->isVisible()) {
        CentreOnDesktop(*this);
        return;
    }
    const QScreen* screen = FBeside->screen();
    const QRect place = PreviewPlace(FBeside->frameGeometry(), screen->availableGeometry(), size(), FIndex);
    setFixedSize(place.size());
    move(place.topLeft());
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
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), FFrame);
}

void TQtPreviewWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) DragWindow(*this);
}

// Between the fitted size and the picture's own.
void TQtPreviewWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || FFrame.isNull()) return;
    setFixedSize(size() == FFrame.size() ? PreviewSize(FFrame.size()) : FFrame.size());
}

void TQtPreviewWindow::closeEvent(QCloseEvent* event) {
    if (FClosedByUser) FClosedByUser();
    event->accept();
}

TPreviewWindowRegistration::TPreviewWindowRegistration(const QWidget* beside) {
    SetPreviewWindowFactory([beside = QPointer<const QWidget>(beside)](
                                    std::function<void()> closedByUser) -> std::unique_ptr<TPreviewWindow> {
        return std::make_unique<TQtPreviewWindow>(std::move(closedByUser), beside.data());
    });
}

TPreviewWindowRegistration::~TPreviewWindowRegistration() {
    SetPreviewWindowFactory(nullptr);
}

}  // namespace kestrova
