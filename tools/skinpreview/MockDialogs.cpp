#include "tools/skinpreview/MockDialogs.h"

#include "ui/skin/OutputOptionsLayout.h"
#include "ui/skin/SkinComboBox.h"
#include "ui/skin/SkinDropButton.h"
#include "ui/skin/SkinPictures.h"

#include <QApplication>
#include <QButtonGroup>
#include <QEnterEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <memory>

namespace kestrova::skinpreview {

namespace {

struct TParameter {
    const char* Label;
    const char* Value;
};

const TParameter kVideo[] = {{"Video Size:", "320x240 - qvga"},
                             {"Video Bitrate:", "768"},
                             {"Frame Rate:", "25"},
                             {"Aspect Ratio:", "4:3"},
                             {"Video Codec:", "mpeg4"}};
const TParameter kAudio[] = {{"Audio Channel:", "2"},
                             {"Audio Bitrate:", "128"},
                             {"Sample Rate:", "44100"},
                             {"Audio Volume:", "100"},
                             {"Audio Codec:", "aac"}};

QLabel* Background(QWidget& dialog, const QPixmap& picture) {
    auto* background = new QLabel(&dialog);
    background->setPixmap(picture);
    background->setGeometry(QRect(QPoint(0, 0), picture.size()));
    return background;
}

void AddParameters(QWidget& dialog, const QPixmap& face, bool audio, const TParameter (&parameters)[5]) {
    for (int row = 0; row < skin::kParameterRows; ++row) {
        auto* label = new QLabel(QString::fromLatin1(parameters[row].Label), &dialog);
        label->setGeometry(skin::ParameterLabelRect(audio, row));
        auto* combo = new TSkinComboBox(&dialog);
        combo->SetFacePicture(face);
        combo->addItem(QString::fromLatin1(parameters[row].Value));
        combo->setGeometry(skin::ParameterComboRect(audio, row));
    }
}

std::unique_ptr<QWidget> OutputOptions(const TPreviewContext& context, bool pickerOpen) {
    auto dialog = std::make_unique<QWidget>();
    dialog->setFixedSize(skin::kOutputOptionsSize);
    Background(*dialog, context.IconPicture(skin::kOutputOptionsBackground));
    const QPixmap face = context.IconPicture(skin::kProfileFace);
    auto* profile = new TSkinComboBox(dialog.get());
    profile->SetFacePicture(face);
    profile->addItem(QIcon(context.IconPicture(QStringLiteral("group_video.png"))),
                     QStringLiteral("MPEG-4 Video(*.mp4)"));
    profile->setGeometry(skin::kProfileComboRect);
    profile->SetDrawnPressed(pickerOpen);
    auto* saveAs = new TSkinDropButton(QStringLiteral("Save As..."), dialog.get());
    saveAs->SetFacePicture(face);
    saveAs->setGeometry(skin::kSaveProfileRect);
    auto* folder = new QLineEdit(QStringLiteral("/home/ana/Videos/Kestrova/"), dialog.get());
    folder->setReadOnly(true);
    folder->setGeometry(skin::kOutputFolderRect);
    (new QPushButton(QStringLiteral("Browse"), dialog.get()))->setGeometry(skin::kBrowseFolderRect);
    (new QPushButton(QStringLiteral("Open"), dialog.get()))->setGeometry(skin::kOpenFolderRect);
    AddParameters(*dialog, face, false, kVideo);
    AddParameters(*dialog, face, true, kAudio);
    auto* ok = new QPushButton(QStringLiteral("OK"), dialog.get());
    ok->setGeometry(skin::kOkRect);
    ok->setDefault(true);
    (new QPushButton(QStringLiteral("Cancel"), dialog.get()))->setGeometry(skin::kCancelRect);
    if (!pickerOpen) {
        QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), QPointF(4, 4));
        QApplication::sendEvent(saveAs, &enter);
    }
    return dialog;
}

std::unique_ptr<QWidget> GeneralOptions(const TPreviewContext& context) {
    auto dialog = std::make_unique<QWidget>();
    dialog->setFixedSize(445, 289);
    Background(*dialog, context.IconPicture(skin::kGeneralOptionsBackground));
    auto* convert = new QGroupBox(QStringLiteral("Convert"), dialog.get());
    convert->setGeometry(10, 8, 425, 124);
    (new QLabel(QStringLiteral("Maximun Simultaneous Running Processes:"), convert))
            ->setGeometry(14, 24, 260, 20);
    (new QLineEdit(QStringLiteral("3"), convert))->setGeometry(280, 22, 60, 22);
    auto* priority = new QGroupBox(QStringLiteral("Priority in running background"), convert);
    priority->setGeometry(10, 52, 405, 62);
    const char* items[] = {"Run in normal priority", "Run in Lower priority ", "Run in Lowest priority ",
                           "Run only when the system is idle"};
    for (int item = 0; item < 4; ++item) {
        auto* radio = new QRadioButton(QString::fromLatin1(items[item]), priority);
        radio->setGeometry(item < 2 ? 10 : 205, 18 + (item % 2) * 20, 190, 20);
        radio->setChecked(item == 0);
    }
    auto* output = new QGroupBox(QStringLiteral("Output"), dialog.get());
    output->setGeometry(10, 138, 425, 102);
    (new QLabel(QStringLiteral("Destination:"), output))->setGeometry(14, 20, 200, 20);
    (new QLineEdit(QStringLiteral("/home/ana/Videos/Kestrova/"), output))->setGeometry(14, 42, 397, 22);
    (new QPushButton(QStringLiteral("Browse"), output))->setGeometry(256, 70, 75, 24);
    (new QPushButton(QStringLiteral("Open"), output))->setGeometry(336, 70, 75, 24);
    (new QPushButton(QStringLiteral("Restore defaults"), dialog.get()))->setGeometry(10, 252, 110, 26);
    (new QPushButton(QStringLiteral("OK"), dialog.get()))->setGeometry(200, 252, 75, 26);
    (new QPushButton(QStringLiteral("Cancel"), dialog.get()))->setGeometry(280, 252, 75, 26);
    (new QPushButton(QStringLiteral("Apply"), dialog.get()))->setGeometry(360, 252, 75, 26);
    return dialog;
}

}  // namespace

void RenderDialogMocks(const TPreviewContext& context) {
    context.Save(OutputOptions(context, false)->grab(), QStringLiteral("output-options.png"));
    context.Save(OutputOptions(context, true)->grab(), QStringLiteral("output-options-picker-open.png"));
    context.Save(GeneralOptions(context)->grab(), QStringLiteral("general-options.png"));
}

}  // namespace kestrova::skinpreview
