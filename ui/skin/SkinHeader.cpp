#include "ui/skin/SkinHeader.h"

#include "ui/skin/SkinPalette.h"
#include "ui/skin/SliceDraw.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionHeader>

#include <algorithm>

namespace kestrova {

TSkinHeader::TSkinHeader(const QPixmap& strip, QObject* parent)
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))), FStrip(strip) {
    setParent(parent);
}

void TSkinHeader::Attach(QHeaderView& header) {
    header.setStyle(this);
}

void TSkinHeader::polish(QWidget* widget) {
    QProxyStyle::polish(widget);
    if (qobject_cast<QHeaderView*>(widget)) widget->setAttribute(Qt::WA_Hover);
}

TSkinHeader::TCell TSkinHeader::CellFor(const QStyleOption& option) {
    if (option.state & State_Sunken) return TCell::Pressed;
    if ((option.state & State_MouseOver) && (option.state & State_Enabled)) return TCell::Hot;
    return TCell::Normal;
}

QRect TSkinHeader::CellRect(TCell cell) const {
    return {static_cast<int>(cell) * kCellWidth, 0, kCellWidth, FStrip.height()};
}

void TSkinHeader::DrawLabel(const QStyleOption& option, QPainter& painter) const {
    const auto* header = qstyleoption_cast<const QStyleOptionHeader*>(&option);
    if (!header) return;
    const bool hot = CellFor(option) == TCell::Hot;
    const QRect textRect = option.rect.adjusted(kCaptionIndent, 0, -kCaptionIndent, 0);
    const QString text = option.fontMetrics.elidedText(header->text, Qt::ElideRight, textRect.width());
    painter.save();
    painter.setPen(QColor(hot ? skin::kHeaderHotText : skin::kHeaderText));
    const Qt::Alignment horizontal = header->textAlignment & Qt::AlignHorizontal_Mask;
    painter.drawText(textRect, int(horizontal ? horizontal : Qt::AlignLeft) | Qt::AlignVCenter, text);
    painter.restore();
}

void TSkinHeader::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                              const QWidget* widget) const {
    if (FStrip.isNull()) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    switch (element) {
        case CE_HeaderSection:
            DrawSliced(*painter, option->rect, FStrip, CellRect(CellFor(*option)), kFixedEdges);
            return;
        case CE_HeaderEmptyArea: {
            // Beyond the last column: the normal cell without its divider.
            const QRect cell = CellRect(TCell::Normal);
            DrawSliced(*painter, option->rect, FStrip, cell.adjusted(0, 0, -kFixedEdges.right(), 0),
                       QMargins(kFixedEdges.left(), 0, 0, 0));
            return;
        }
        case CE_HeaderLabel:
            DrawLabel(*option, *painter);
            return;
        default:
            QProxyStyle::drawControl(element, option, painter, widget);
    }
}

QSize TSkinHeader::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                    const QWidget* widget) const {
    QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
    // As high as the strip, unless the caption font needs more.
    if (type == CT_HeaderSection && !FStrip.isNull() && option)
        result.setHeight(std::max(FStrip.height(), option->fontMetrics.height() + 4));
    return result;
}

}  // namespace kestrova
