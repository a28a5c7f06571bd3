#include "profiles/dialog/CardGroup.h"

#include <QPainter>

namespace kestrova {

namespace {

// The caption style of the background pictures' cards: DejaVu Sans, bold, 9.5 pixels.
constexpr double kTitlePixels = 9.5;
const QColor kTitleColour(0x6B, 0x78, 0x89);

QFont TitleFont(const QWidget& widget) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPointSizeF(kTitlePixels * 72.0 / widget.logicalDpiY());
    font.setCapitalization(QFont::AllUppercase);
    return font;
}

}  // namespace

TCardGroup::TCardGroup(const QString& title, const char* name, const QRect& card, QWidget* parent)
    : QGroupBox(title, parent) {
    setObjectName(QString::fromLatin1(name));
    setGeometry(card);
    setFlat(true);
}

void TCardGroup::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(TitleFont(*this));
    painter.setPen(isEnabled() ? kTitleColour : kTitleColour.lighter(140));
    painter.drawText(kTitleBaseLine, title());
}

}  // namespace kestrova
