#pragma once
#include "ui/skin/SkinComboBox.h"

namespace kestrova {

// The options dialog's profile combo. Its own list never opens: a click (on release), F4,
// Alt+Down or Space asks for the profile picker instead, and neither the wheel nor any other
// key changes its item (item 1 is the profile's path, never to be shown as a choice).
class TProfileComboBox : public TSkinComboBox {
    Q_OBJECT

public:
    explicit TProfileComboBox(QWidget* parent = nullptr);

    void showPopup() override;

signals:
    void DropDownRequested();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool FPressed = false;
};

}  // namespace kestrova
