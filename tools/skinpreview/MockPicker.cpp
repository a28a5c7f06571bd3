#include "tools/skinpreview/MockPicker.h"

#include "ui/skin/CoolSB.h"
#include "ui/skin/SkinPictures.h"

#include <QPainter>
#include <QScrollBar>

namespace kestrova::skinpreview {

namespace {

// The picker's colours, as it draws its lists.
const QColor kWindowColour(0xA6, 0xCA, 0xF0);
const QColor kListColour(0xF1, 0xF5, 0xF9);
const QColor kHoverColour(0xB8, 0xD8, 0xFA);
const QColor kSelectedColour(0x29, 0xA5, 0xD6);
constexpr int kMargin = 8;

struct TGroup {
    const char* Name;
    const char* Picture;
};

const TGroup kGroups[] = {
        {"Recent", "group_recent.png"},
        {"General Video", "group_video.png"},
        {"General Audio", "group_audio.png"},
        {"HD Video", "group_hdvideo.png"},
        {"Lossless Audio", "group_losslessaudio.png"},
        {"CD/VCD/DVD", "group_cd.png"},
        {"Apple TV", "group_appletv.png"},
        {"iPod", "group_ipod.png"},
        {"iPhone", "group_iphone.png"},
        {"Mobile Phone", "group_mobile.png"},
        {"Flash Video", "group_flashvideo.png"},
        {"PMP", "group_pmp.png"},
        {"PS3", "group_ps3.png"},
        {"PSP", "group_psp.png"},
        {"Wii", "group_wii.png"},
        {"Xbox", "group_xbox.png"},
        {"Zune", "group_zune.png"},
        {"User defined", "group_user.png"},
        {"All Profiles", "group_all.png"},
};

struct TProfile {
    const char* Name;
    const char* Description;
    const char* Picture;
};

const TProfile kProfiles[] = {
        {"PSP MPEG-4 Video(*.mp4)",
         "MPEG-4 video for the PlayStation Portable,\nplayed from the memory stick.", "profile_psp.png"},
        {"PSP H.264 Video(*.mp4)", "H.264 video for PSP firmware 3.30 and above.", "profile_psp.png"},
        {"iPod H.264 Video for TV(*.mp4)", "H.264 video at TV size for iPod\nwith video output.",
         "profile_ipod.png"},
        {"Xbox 360 WMV Video(*.wmv)", "Windows Media video for Xbox 360.", "profile_xbox.png"},
        {"MPEG-4 Video(*.mp4)", "MPEG-4 video in an MP4 file, for portable players\nand computers.",
         "profile_mp4.png"},
        {"MP3 - MPEG Layer-3 Audio(*.mp3)",
         "The most widely played compressed audio format.\nPlays on every music player.", "profile_mp3.png"},
        {"FLV - Flash Video(*.flv)", "Flash video for web pages and players.", "profile_flv.png"},
        {"HD H.264 Video(*.mp4)", "High definition H.264 video, 1280x720 or 1920x1080.", "profile_hd.png"},
        {"DVD Video PAL(*.vob)", "DVD video for PAL players.", "profile_dvd.png"},
};

int DrawGroups(QPainter& painter, const TPreviewContext& context, const QRect& pane) {
    painter.fillRect(pane, kListColour);
    const QPixmap arrow = context.IconPicture(skin::kProfileArrow);
    const int itemHeight = painter.fontMetrics().height() + 11;
    int top = pane.top();
    for (int group = 0; group < int(std::size(kGroups)); ++group) {
        const QRect item(pane.left(), top, pane.width(), itemHeight);
        const bool selected = group == 13;
        const bool hovered = group == 7;
        if (selected || hovered) painter.fillRect(item, selected ? kSelectedColour : kHoverColour);
        painter.setPen(selected || hovered ? QColor(Qt::white) : QColor(Qt::black));
        const QPixmap picture = context.IconPicture(QString::fromLatin1(kGroups[group].Picture));
        painter.drawPixmap(item.left() + kMargin, item.top() + 4, picture);
        painter.drawText(item.adjusted(kMargin + picture.width() + kMargin, 0, 0, 0), Qt::AlignVCenter,
                         QString::fromLatin1(kGroups[group].Name));
        painter.drawPixmap(item.right() - arrow.width() - 4, item.top() + (itemHeight - arrow.height()) / 2,
                           arrow);
        top += itemHeight;
    }
    return top;
}

void DrawProfiles(QPainter& painter, const TPreviewContext& context, const QRect& pane) {
    painter.fillRect(pane, kListColour);
    QFont nameFont = painter.font();
    nameFont.setBold(true);
    nameFont.setUnderline(true);
    const QFont plainFont = painter.font();
    const int lineHeight = painter.fontMetrics().height() + 3;
    int top = pane.top();
    for (int profile = 0; profile < int(std::size(kProfiles)); ++profile) {
        const QStringList lines = QString::fromLatin1(kProfiles[profile].Description).split(u'\n');
        const int itemHeight = (int(lines.size()) + 1) * lineHeight + 5;
        const QRect item(pane.left(), top, pane.width(), itemHeight);
        const bool selected = profile == 0;
        const bool hovered = profile == 2;
        if (selected || hovered) painter.fillRect(item, selected ? kSelectedColour : kHoverColour);
        painter.setPen(selected || hovered ? QColor(Qt::white) : QColor(Qt::black));
        const QPixmap picture = context.IconPicture(QString::fromLatin1(kProfiles[profile].Picture));
        painter.drawPixmap(item.left() + kMargin, item.top() + 4, picture);
        const int textLeft = item.left() + kMargin + picture.width() + kMargin;
        painter.setFont(nameFont);
        painter.drawText(QPoint(textLeft, item.top() + lineHeight),
                         QString::fromLatin1(kProfiles[profile].Name));
        painter.setFont(plainFont);
        for (int line = 0; line < lines.size(); ++line)
            painter.drawText(QPoint(textLeft, item.top() + (line + 2) * lineHeight), lines[line]);
        top += itemHeight;
    }
}

}  // namespace

void RenderPickerMock(const TPreviewContext& context) {
    constexpr QSize kPickerSize(511, 462);
    QPixmap picker(kPickerSize);
    picker.fill(kWindowColour);
    QPainter painter(&picker);
    painter.setRenderHint(QPainter::TextAntialiasing);
    DrawGroups(painter, context, QRect(1, 1, 150, 460));
    const QRect right(152, 1, 358, 460);
    DrawProfiles(painter, context, right.adjusted(0, 0, -kStripCell, 0));

    TCoolSB style(context.IconPicture(skin::kPickerScrollBarStrip), kPickerStripCells);
    QScrollBar bar(Qt::Vertical);
    bar.setStyle(&style);
    bar.setRange(0, 60);
    bar.setPageStep(40);
    bar.setValue(6);
    bar.resize(kStripCell, right.height());
    bar.render(&painter, QPoint(right.right() - kStripCell + 1, right.top()));
    painter.end();
    context.Save(picker, QStringLiteral("picker.png"));
}

}  // namespace kestrova::skinpreview
