#pragma once
#include <QPixmap>
#include <QPoint>
#include <QWidget>

namespace kestrova {

// The picture-only push button of the skinned windows. It shows one of four pictures by the
// pointer, the mouse button, its enabled state and a latched checked state:
//  - pointer enters / leaves: unless checked, raise OnMouseEnter / OnMouseLeave, then (when
//    enabled) show PictureOver / PictureNormal;
//  - mouse button down / up: the mouse event is raised first, then (when enabled and not
//    checked) PictureClick / PictureOver is shown;
//  - SetChecked(true) on an enabled button shows PictureClick; unchecking leaves the picture
//    until the pointer next moves in or out;
//  - enabling shows PictureNormal and disabling PictureDisabled, whatever the pointer does;
//  - SetPictureNormal also shows the new picture; the other three are only stored.
// OnClick follows a left press and release inside the button (also while checked); the second
// press of a double click raises OnDblClick instead of a second click.
class TXGraphic : public QWidget {
    Q_OBJECT

public:
    explicit TXGraphic(QWidget* parent = nullptr);

    const QPixmap& PictureNormal() const { return FPictureNormal; }
    const QPixmap& PictureOver() const { return FPictureOver; }
    const QPixmap& PictureClick() const { return FPictureClick; }
    const QPixmap& PictureDisabled() const { return FPictureDisabled; }
    void SetPictureNormal(const QPixmap& picture);
    void SetPictureOver(const QPixmap& picture);
    void SetPictureClick(const QPixmap& picture);
    void SetPictureDisabled(const QPixmap& picture);

    // The picture on screen now: a copy of one of the four.
    const QPixmap& Picture() const { return FPicture; }

    bool Checked() const { return FChecked; }
    void SetChecked(bool checked);

    // Enables or disables the button and shows PictureNormal or PictureDisabled even when the
    // state does not change (QWidget::setEnabled shows them only on a change).
    void SetEnabled(bool enabled);

    // With AutoSize the button takes the size of each picture it shows.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool autoSize);

    QSize sizeHint() const override;

signals:
    void OnClick();
    void OnDblClick();
    void OnMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    void OnMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint position);
    void OnMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    void OnMouseEnter();
    void OnMouseLeave();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Show(const QPixmap& picture);
    void ShowEnabledState();
    bool FollowsPointer() const { return isEnabled() && !FChecked; }
    void ButtonDown(QMouseEvent* event);

    QPixmap FPictureNormal;
    QPixmap FPictureOver;
    QPixmap FPictureClick;
    QPixmap FPictureDisabled;
    QPixmap FPicture;
    bool FChecked = false;
    bool FAutoSize = false;
    bool FClickPending = false;  // a left press began on the button; its release may click
};

}  // namespace kestrova
