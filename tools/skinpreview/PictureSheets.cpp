#include "tools/skinpreview/PictureSheets.h"

#include "ui/skin/SkinPictures.h"

#include <QDir>
#include <QPainter>

namespace kestrova::skinpreview {

namespace {

const skin::TButtonState kStates[] = {skin::TButtonState::Normal, skin::TButtonState::Over,
                                      skin::TButtonState::Click, skin::TButtonState::Disabled};

// Draws a row of one button's states on the part of the background it sits on.
void DrawButtonRow(QPainter& painter, const TPreviewContext& context, QLatin1String stem,
                   const QRect& backdrop, int top, int states) {
    const QPixmap background = context.MainPicture(skin::kMainBackground);
    for (int state = 0; state < states; ++state) {
        const QPoint at(8 + state * (backdrop.width() + 8), top);
        painter.drawPixmap(QRect(at, backdrop.size()), background, backdrop);
        painter.drawPixmap(at, context.MainPicture(skin::ButtonPictureName(stem, kStates[state])));
    }
}

void RenderButtonSheet(const TPreviewContext& context) {
    QPixmap sheet(8 + 4 * 88, 8 + 6 * 77 + 6 * 50 + 2 * 29 + 8);
    sheet.fill(QColor(0x0B, 0x0E, 0x12));
    QPainter painter(&sheet);
    int top = 8;
    for (QLatin1String stem : {skin::kButtonAdd, skin::kButtonRemove, skin::kButtonClear,
                               skin::kButtonOptions, skin::kButtonHelp, skin::kButtonDownload}) {
        DrawButtonRow(painter, context, stem, QRect(stem == skin::kButtonAdd ? 1 : 81, 21, 80, 69), top, 4);
        top += 77;
    }
    for (QLatin1String stem : {skin::kButtonStart, skin::kButtonStop, skin::kButtonPause, skin::kButtonUp,
                               skin::kButtonDown, skin::kButtonLocation}) {
        DrawButtonRow(painter, context, stem, QRect(460, 100, 42, 42), top, 4);
        top += 50;
    }
    DrawButtonRow(painter, context, skin::kButtonMinimise, QRect(756, 0, 22, 21), top, 3);
    DrawButtonRow(painter, context, skin::kButtonClose, QRect(778, 0, 22, 21), top + 29, 3);
    painter.end();
    context.Save(sheet.scaled(sheet.size() * 2, Qt::KeepAspectRatio, Qt::FastTransformation),
                 QStringLiteral("buttons-x2.png"));
}

void RenderStripSheet(const TPreviewContext& context) {
    constexpr int kScale = 4;
    const QPixmap strips[] = {
            context.MainPicture(skin::kScrollBarStrip), context.IconPicture(skin::kPickerScrollBarStrip),
            context.MainPicture(skin::kHeaderStrip), context.IconPicture(skin::kProfileFace)};
    QPixmap sheet(272 * kScale + 16, (17 + 17 + 18 + 104) * kScale + 40);
    sheet.fill(QColor(0x80, 0x80, 0x80));
    QPainter painter(&sheet);
    int top = 8;
    for (const QPixmap& strip : strips) {
        painter.drawPixmap(QRect(QPoint(8, top), strip.size() * kScale), strip);
        top += strip.height() * kScale + 8;
    }
    painter.end();
    context.Save(sheet, QStringLiteral("strips-x4.png"));
}

void RenderIconSheet(const TPreviewContext& context) {
    const QDir icons(context.ProgramFolder + skin::kIconFolder);
    const QStringList groups = icons.entryList({QStringLiteral("group_*.png")}, QDir::Files, QDir::Name);
    QStringList profiles = icons.entryList({QStringLiteral("profile_*.png")}, QDir::Files, QDir::Name);
    profiles.removeAll(skin::kProfileFace);
    profiles.removeAll(skin::kProfileArrow);
    constexpr int kColumns = 12;
    constexpr int kCell = 112;
    const int rows =
            int((groups.size() + kColumns - 1) / kColumns + (profiles.size() + kColumns - 1) / kColumns);
    QPixmap sheet(kColumns * kCell, rows * kCell);
    sheet.fill(QColor(0xF1, 0xF5, 0xF9));
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    int index = 0;
    auto draw = [&](const QString& name) {
        const QPixmap picture(icons.filePath(name));
        const QPoint cell((index % kColumns) * kCell, (index / kColumns) * kCell);
        painter.drawPixmap(QRect(cell + QPoint(8, 4), picture.size() * (picture.width() == 16 ? 4 : 2)),
                           picture);
        painter.drawPixmap(cell + QPoint(80, 8), picture);
        painter.setPen(QColor(0x33, 0x41, 0x55));
        painter.drawText(QRect(cell.x(), cell.y() + 78, kCell, 30), Qt::AlignHCenter | Qt::TextWordWrap,
                         QString(name).remove(QStringLiteral(".png")));
        ++index;
    };
    for (const QString& name : groups) draw(name);
    index = ((index + kColumns - 1) / kColumns) * kColumns;
    for (const QString& name : profiles) draw(name);
    painter.end();
    context.Save(sheet, QStringLiteral("icons.png"));
}

}  // namespace

void RenderPictureSheets(const TPreviewContext& context) {
    RenderButtonSheet(context);
    RenderStripSheet(context);
    RenderIconSheet(context);
}

}  // namespace kestrova::skinpreview
