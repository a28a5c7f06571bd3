#pragma once
#include "ui/skin/SkinFace.h"

#include <QPushButton>

namespace kestrova {

// The options dialog's skinned drop-down button (Save As...): a standard push button drawn on
// the skin's face picture, its caption centred left of the arrow zone (framed while it has the
// keyboard focus). It looks pressed while held down and while its menu is open. Without a face picture it
// draws as a plain button.
class TSkinDropButton : public QPushButton {
    Q_OBJECT

public:
    explicit TSkinDropButton(const QString& text, QWidget* parent = nullptr);

    void SetFacePicture(const QPixmap& picture);

    // The face state the next paint uses.
    TFaceState FaceState() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    TSkinFace FFace;
};

}  // namespace kestrova
