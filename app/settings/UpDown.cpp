#include "app/settings/UpDown.h"

#include "app/settings/IntegerText.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace kestrova {

namespace {

QToolButton* MakeArrow(Qt::ArrowType arrow, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    return button;
}

} // namespace

UpDown::UpDown(QWidget* parent)
    : QWidget(parent), up_(MakeArrow(Qt::UpArrow, this)), down_(MakeArrow(Qt::DownArrow, this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(up_);
    layout->addWidget(down_);
    connect(up_, &QToolButton::clicked, this, [this] { Step(+1); });
    connect(down_, &QToolButton::clicked, this, [this] { Step(-1); });
}

void UpDown::SetBuddy(QLineEdit* buddy)
{
    if (buddy_)
        buddy_->removeEventFilter(this);
    buddy_ = buddy;
    if (buddy_) {
        buddy_->installEventFilter(this);
        buddy_->setText(QString::number(position_));
    }
}

void UpDown::SetRange(int minimum, int maximum)
{
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    SetPosition(position_);
}

void UpDown::SetPosition(int position)
{
    position_ = std::clamp(position, minimum_, maximum_);
    if (buddy_)
        buddy_->setText(QString::number(position_));
}

void UpDown::Step(int delta)
{
    int from = position_;
    if (buddy_) {
        if (const std::optional<int> typed = ParseInteger(buddy_->text()))
            from = std::clamp(*typed, minimum_, maximum_);
    }
    // Stepping from the range's end stays there (no overflow past the int range either).
    SetPosition(delta > 0 ? (from < maximum_ ? from + 1 : from) : (from > minimum_ ? from - 1 : from));
    emit Clicked();
}

bool UpDown::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == buddy_ && event->type() == QEvent::KeyPress && isEnabled()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kestrova
