#include "app/settings/UpDown.h"

#include "app/settings/IntegerText.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace kestrova {

namespace {

QToolButton* MakeArrow(Qt::ArrowType arrow, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    return button;
}

}  // namespace

TUpDown::TUpDown(QWidget* parent)
    : QWidget(parent), FUp(MakeArrow(Qt::UpArrow, this)), FDown(MakeArrow(Qt::DownArrow, this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(FUp);
    layout->addWidget(FDown);
    connect(FUp, &QToolButton::clicked, this, [this] { Step(+1); });
    connect(FDown, &QToolButton::clicked, this, [this] { Step(-1); });
}

void TUpDown::SetBuddy(QLineEdit* buddy) {
    if (FBuddy) FBuddy->removeEventFilter(this);
    FBuddy = buddy;
    if (FBuddy) {
        FBuddy->installEventFilter(this);
        FBuddy->setText(QString::number(FPosition));
    }
}

void TUpDown::SetRange(int minimum, int maximum) {
    FMinimum = minimum;
    FMaximum = std::max(minimum, maximum);
    SetPosition(FPosition);
}

void TUpDown::SetPosition(int position) {
    FPosition = std::clamp(position, FMinimum, FMaximum);
    if (FBuddy) FBuddy->setText(QString::number(FPosition));
}

void TUpDown::Step(int delta) {
    int from = FPosition;
    if (FBuddy) {
        if (const std::optional<int> typed = ParseInteger(FBuddy->text()))
            from = std::clamp(*typed, FMinimum, FMaximum);
    }
    // Stepping from the range's end stays there (no overflow past the int range either).
    SetPosition(delta > 0 ? (from < FMaximum ? from + 1 : from) : (from > FMinimum ? from - 1 : from));
    emit Clicked();
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FBuddy && event->type() == QEvent::KeyPress && isEnabled()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace kestrova
