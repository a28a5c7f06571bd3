#pragma once
#include <QLabel>

namespace kestrova {

// The getting-started picture over the empty queue. It reports where the mouse button was
// released; its round "add" sign lies in AddHotSpot, where the pointer becomes a hand.
class TStartPanel : public QLabel {
    Q_OBJECT

public:
    // Left 206, top 62, right 242, bottom 98; the right and bottom edges lie outside.
    static constexpr QRect AddHotSpot{QPoint(206, 62), QPoint(241, 97)};

    explicit TStartPanel(QWidget* parent = nullptr);

signals:
    void OnMouseUp(Qt::MouseButton button, QPoint position);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};

}  // namespace kestrova
