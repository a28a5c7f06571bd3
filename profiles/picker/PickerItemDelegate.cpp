#include "profiles/picker/PickerItemDelegate.h"

#include "profiles/picker/PickerColours.h"
#include "profiles/picker/PickerList.h"

#include <QPainter>

namespace kestrova {

namespace {

constexpr int kOneLinePadding = 11;
constexpr int kLinePadding = 3;
constexpr int kManyLinesPadding = 5;
constexpr int kArrowRightGap = 4;

bool IsHovered(const QStyleOptionViewItem& option, const QModelIndex& index) {
    const auto* list = qobject_cast<const TPickerList*>(option.widget);
    return list && list->HoverRow() == index.row();
}

QFont NameFont(const QFont& base) {
    QFont font = base;
    font.setBold(true);
    font.setUnderline(true);
    return font;
}

}  // namespace

TPickerItemDelegate::TPickerItemDelegate(TKind kind, const QPixmap& arrow, QObject* parent)
    : QStyledItemDelegate(parent), FArrow(kind == TKind::Groups ? arrow : QPixmap()) {}

QStringList TPickerItemDelegate::ItemLines(const QString& text) {
    QStringList lines = text.split(u'\r');
    for (qsizetype line = 0; line < lines.size(); ++line) {
        lines[line].remove(u'\n');
        // Descriptions often have a blank after their line breaks; lines start flush.
        if (line > 0) {
            qsizetype blanks = 0;
            while (blanks < lines[line].size() && lines[line][blanks] == u' ') ++blanks;
            lines[line].remove(0, blanks);
        }
    }
    return lines;
}

int TPickerItemDelegate::ItemHeight(int lineCount, int textHeight) {
    if (lineCount <= 1) return textHeight + kOneLinePadding;
    return lineCount * (textHeight + kLinePadding) + kManyLinesPadding;
}

QSize TPickerItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const int lines = static_cast<int>(ItemLines(index.data(Qt::DisplayRole).toString()).size());
    const QPixmap picture = index.data(Qt::DecorationRole).value<QPixmap>();
    const int height = std::max(ItemHeight(lines, option.fontMetrics.height()),
                                kPictureTop + picture.height() + kPictureTop);
    return {option.rect.width() > 0 ? option.rect.width() : 1, height};
}

void TPickerItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    const QRect item = option.rect;
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    const bool highlighted = selected || IsHovered(option, index);
    painter->save();
    painter->fillRect(item, QColor(selected                   ? picker::kSelectedColour
                                   : IsHovered(option, index) ? picker::kHoverColour
                                                              : picker::kListColour));

    const QPixmap picture = index.data(Qt::DecorationRole).value<QPixmap>();
    int textLeft = item.left() + kMargin;
    if (!picture.isNull()) {
        painter->drawPixmap(item.left() + kMargin, item.top() + kPictureTop, picture);
        textLeft += picture.width() + kMargin;
    }
    int textRight = item.right() - kMargin;
    if (!FArrow.isNull()) {
        const int arrowLeft = item.right() - kArrowRightGap - FArrow.width();
        painter->drawPixmap(arrowLeft, item.top() + (item.height() - FArrow.height()) / 2, FArrow);
        textRight = arrowLeft - kArrowRightGap;
    }

    painter->setPen(QColor(highlighted ? picker::kHighlightedItemText : picker::kItemText));
    const QStringList lines = ItemLines(index.data(Qt::DisplayRole).toString());
    const int textHeight = option.fontMetrics.height();
    const int lineHeight = textHeight + kLinePadding;
    // One line sits in the middle of its item; several lines stack from the top.
    int lineTop = lines.size() == 1 ? item.top() + (item.height() - textHeight) / 2
                                    : item.top() + (item.height() - lines.size() * lineHeight) / 2;
    for (int line = 0; line < lines.size(); ++line) {
        painter->setFont(line == 0 ? NameFont(option.font) : option.font);
        const QRect lineRect(textLeft, lineTop, std::max(textRight - textLeft, 0),
                             lines.size() == 1 ? textHeight : lineHeight);
        painter->drawText(lineRect, Qt::AlignLeft | Qt::AlignVCenter,
                          painter->fontMetrics().elidedText(lines[line], Qt::ElideRight, lineRect.width()));
        lineTop += lineHeight;
    }
    painter->restore();
}

}  // namespace kestrova
