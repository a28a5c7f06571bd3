#include "profiles/dialog/PageTabs.h"

#include "ui/skin/SkinPalette.h"

#include <QButtonGroup>
#include <QPainter>
#include <QPainterPath>

namespace kestrova {

namespace {

constexpr int kTabPadding = 10;
constexpr int kTabGap = 4;
constexpr qreal kCornerRadius = 6;
const QColor kFaceBorder(0xD5, 0xDC, 0xE4);
const QColor kRestingText(0x5B, 0x67, 0x78);
const QColor kCurrentText(skin::kFaceText);

}  // namespace

TPageTab::TPageTab(const QString& caption, QWidget* parent) : QAbstractButton(parent) {
    setText(caption);
    setCheckable(true);
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
}

QSize TPageTab::sizeHint() const {
    QFont bold = font();
    bold.setBold(true);
    return {QFontMetrics(bold).horizontalAdvance(text()) + 2 * kTabPadding, TPageTabs::kTabHeight};
}

void TPageTab::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    update();
}

void TPageTab::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    update();
}

void TPageTab::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF face = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (isChecked()) {
        painter.setPen(kFaceBorder);
        painter.setBrush(Qt::white);
        painter.drawRoundedRect(face, kCornerRadius, kCornerRadius);
        painter.fillRect(QRectF(kTabPadding, height() - 4, width() - 2 * kTabPadding, 2),
                         QColor(skin::kAccent));
    } else if (underMouse() || isDown()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, isDown() ? 200 : 120));
        painter.drawRoundedRect(face, kCornerRadius, kCornerRadius);
    }
    QFont caption = font();
    caption.setBold(isChecked());
    painter.setFont(caption);
    painter.setPen(isChecked() ? kCurrentText : kRestingText);
    painter.drawText(rect().adjusted(0, 0, 0, isChecked() ? -2 : 0), Qt::AlignCenter, text());
    if (hasFocus()) {
        painter.setPen(QPen(QColor(skin::kAccent), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(face.adjusted(2, 2, -2, -2), kCornerRadius - 2, kCornerRadius - 2);
    }
}

TPageTabs::TPageTabs(const QStringList& captions, const QStringList& names, QWidget* parent)
    : QWidget(parent), FGroup(new QButtonGroup(this)) {
    int left = 0;
    for (int page = 0; page < captions.size(); ++page) {
        auto* tab = new TPageTab(captions[page], this);
        tab->setObjectName(names.value(page));
        const QSize size = tab->sizeHint();
        tab->setGeometry(left, 0, size.width(), size.height());
        left += size.width() + kTabGap;
        FGroup->addButton(tab, page);
    }
    resize(std::max(left - kTabGap, 0), kTabHeight);
    if (FGroup->button(0)) FGroup->button(0)->setChecked(true);
    connect(FGroup, &QButtonGroup::idToggled, this, [this](int page, bool checked) {
        if (checked) emit CurrentChanged(page);
    });
}

int TPageTabs::Current() const {
    return FGroup->checkedId();
}

void TPageTabs::SetCurrent(int page) {
    if (QAbstractButton* tab = FGroup->button(page)) tab->setChecked(true);
}

TPageTab* TPageTabs::Tab(int page) const {
    return static_cast<TPageTab*>(FGroup->button(page));
}

}  // namespace kestrova
