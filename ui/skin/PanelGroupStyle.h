#pragma once
#include <QProxyStyle>

namespace kestrova {

// The style of group boxes laid over the panels of a skin picture: the panel is their frame,
// so they draw no frame line of their own, only their title inside the panel's top left; a
// group's own title in the accent, a group inside another one in the header's grey.
// Given to each group box (it is not for its children); the owner keeps it alive.
class TPanelGroupStyle : public QProxyStyle {
    Q_OBJECT

public:
    static constexpr QPoint kTitlePlace{6, 3};

    explicit TPanelGroupStyle(QObject* owner);

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override;
};

}  // namespace kestrova
