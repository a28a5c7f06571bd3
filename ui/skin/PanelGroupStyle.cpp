#include "ui/skin/PanelGroupStyle.h"

#include "ui/skin/SkinPalette.h"

#include <QGroupBox>
#include <QPainter>
#include <QStyleOptionGroupBox>

namespace kestrova {

TPanelGroupStyle::TPanelGroupStyle(QObject* owner) {
    setParent(owner);
}

void TPanelGroupStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                          QPainter* painter, const QWidget* widget) const {
    const auto* group = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || !group || !widget) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    const bool inner = qobject_cast<const QGroupBox*>(widget->parentWidget()) != nullptr;
    QFont font = widget->font();
    font.setBold(!inner);
    painter->save();
    painter->setFont(font);
    painter->setPen(QColor(inner ? skin::kHeaderText : skin::kAccent));
    painter->drawText(option->rect.adjusted(kTitlePlace.x(), kTitlePlace.y(), 0, 0),
                      Qt::AlignLeft | Qt::AlignTop, group->text);
    painter->restore();
}

}  // namespace kestrova
