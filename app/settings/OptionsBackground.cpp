#include "app/settings/OptionsBackground.h"

#include "engine/frame/ProgramLayout.h"

#include <QLinearGradient>
#include <QPainter>

namespace kestrova {

namespace {

QPixmap DrawnBackground(const QSize& size) {
    QPixmap picture(size);
    QPainter painter(&picture);
    QLinearGradient gradient(0, 0, 0, size.height());
    gradient.setColorAt(0.0, QColor(0xF7, 0xF9, 0xFC));
    gradient.setColorAt(1.0, QColor(0xDD, 0xE5, 0xEF));
    painter.fillRect(picture.rect(), gradient);
    return picture;
}

}  // namespace

QPixmap OptionsBackground(const QSize& size) {
    const QPixmap skin(QString::fromStdString(ProgramLayout().DataFolder) +
                       QStringLiteral("skin/icon/Options_bg.png"));
    return skin.isNull() ? DrawnBackground(size) : skin;
}

}  // namespace kestrova
