#pragma once
#include <QGroupBox>

namespace kestrova {

// A group of the options dialog laid on one of the cards of the dialog's background picture:
// the picture gives the card, its glyph and the rule under the title; the group writes its
// title beside the glyph in the cards' caption style (small bold capitals) and places its
// controls inside the card. Its geometry is the card's.
class TCardGroup : public QGroupBox {
    Q_OBJECT

public:
    // Where the title starts (its base line) inside the card.
    static constexpr QPoint kTitleBaseLine{32, 21};
    // Controls start below the card's title rule.
    static constexpr int kContentTop = 36;

    TCardGroup(const QString& title, const char* name, const QRect& card, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace kestrova
