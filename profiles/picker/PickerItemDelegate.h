#pragma once
#include <QPixmap>
#include <QStyledItemDelegate>

namespace kestrova {

// Draws a picker item: its picture 8 pixels from the left and 4 below the top, then its text;
// the first line (a profile's or a group's name) is in bold underlined type, a profile's
// description below it plain; the group list has an arrow at each item's right. Heights: one line
// is the text height + 11, n lines n x (text height + 3) + 5. Selected items have the selection
// colour, the item under the mouse the hover colour, both with light text.
class TPickerItemDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    static constexpr int kMargin = 8;
    static constexpr int kPictureTop = 4;

    enum class TKind { Groups, Profiles };

    // The group list draws `arrow` at each item's right.
    TPickerItemDelegate(TKind kind, const QPixmap& arrow, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The lines of an item's text: split at CR, line feeds dropped.
    static QStringList ItemLines(const QString& text);
    // The height of an item with that many lines.
    static int ItemHeight(int lineCount, int textHeight);

private:
    QPixmap FArrow;
};

}  // namespace kestrova
