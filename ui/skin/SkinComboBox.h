#pragma once
#include "ui/skin/SkinFace.h"

#include <QComboBox>

namespace kestrova {

// The options dialog's skinned combo box: a standard combo drawn on the skin's face picture.
// Its face shows the current item: the item's picture scaled into (3,5)-(19,21) and its text
// at (21,5), or the text at (17,4) when the item has no picture. While the profile picker
// stands open for it the dialog keeps it drawn pressed (SetDrawnPressed). Without a face
// picture it draws as a plain combo box.
class TSkinComboBox : public QComboBox {
    Q_OBJECT

public:
    static constexpr QRect kPictureRect{3, 5, 16, 16};
    static constexpr QPoint kTextWithPicture{21, 5};
    static constexpr QPoint kTextAlone{17, 4};

    explicit TSkinComboBox(QWidget* parent = nullptr);

    void SetFacePicture(const QPixmap& picture);
    bool DrawnPressed() const { return FDrawnPressed; }
    void SetDrawnPressed(bool pressed);

    // The face state the next paint uses.
    TFaceState FaceState() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void PaintCurrentItem(QPainter& painter) const;
    void PaintFocus(QPainter& painter) const;
    bool PopupShown() const;

    TSkinFace FFace;
    bool FDrawnPressed = false;
};

}  // namespace kestrova
