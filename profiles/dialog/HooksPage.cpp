#include "profiles/dialog/HooksPage.h"

#include "profiles/dialog/CardGroup.h"
#include "profiles/dialog/OptionPagesLayout.h"
#include "profiles/options/HookModules.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace kestrova {

namespace {

using namespace optionpages;

constexpr int kLeft = 12;
constexpr int kTextEditWidth = 200;
constexpr int kColumnGap = 8;
const QString kDefaultHookText = QStringLiteral("VADOR");

int RowTop(int row) {
    return kHookRowsTop + row * kHookRowPitch;
}

// A box that belongs to another: usable while that one is usable and checked.
void EnableDependant(QWidget* dependant, const QCheckBox* parent) {
    dependant->setEnabled(parent->isEnabled() && parent->isChecked());
}

QString DrawnText(const QLineEdit* edit) {
    const QString text = edit->text().trimmed();
    return text.isEmpty() ? kDefaultHookText : text;
}

}  // namespace

THooksPage::THooksPage(const QString& programFolder, QWidget* parent)
    : QWidget(parent), FProgramFolder(programFolder) {
    setObjectName(QStringLiteral("pgeHooks"));
    grpHook = new TCardGroup(QStringLiteral("Video Hook"), "grpHook", kHookCard, this);
    const int modeWidth = kHookCard.width() - 2 * kLeft;
    rdoExternalHook = new QRadioButton(
            QStringLiteral("External Standard Hook (please read code of option unit)"), grpHook);
    rdoExternalHook->setObjectName(QStringLiteral("rdoExternalHook"));
    rdoExternalHook->setGeometry(kLeft, kHookModeTop, modeWidth, kRowHeight);
    rdoCustomHook =
            new QRadioButton(QStringLiteral("Internal Custom Hook (please read code of main unit)"), grpHook);
    rdoCustomHook->setObjectName(QStringLiteral("rdoCustomHook"));
    rdoCustomHook->setGeometry(kLeft, kHookModeTop + kRowHeight, modeWidth, kRowHeight);
    auto* modes = new QButtonGroup(grpHook);
    modes->addButton(rdoExternalHook);
    modes->addButton(rdoCustomHook);
    rdoExternalHook->setChecked(true);

    chkImlib2Img = AddCheck("chkImlib2Img", QStringLiteral("Imlib2 - Image"), kLeft, 0);
    chkImgDancing = AddCheck("chkImgDancing", QStringLiteral("Dancing"), kHookSecondColumn, 0);
    chkImlib2Txt = AddCheck("chkImlib2Txt", QStringLiteral("Imlib2 - Text"), kLeft, 1);
    edtImlib2Txt = AddTextEdit("edtImlib2Txt", 1);
    chkTxtScrolling = AddCheck("chkTxtScrolling", QStringLiteral("Scrolling"), kHookThirdColumn, 1);
    chkWaterMark = AddCheck("chkWaterMark", QStringLiteral("WaterMark"), kLeft, 2);
    chkWaterMarkMode = AddCheck("chkWaterMarkMode", QStringLiteral("Mode 0/1"), kHookSecondColumn, 2);
    chkVantelHookImg = AddCheck("chkVantelHookImg", QStringLiteral("DemoHook - Image"), kLeft, 3);
    chkVantelHookTxt = AddCheck("chkVantelHookTxt", QStringLiteral("DemoHook - Text"), kLeft, 4);
    edtVantelHookTxt = AddTextEdit("edtVantelHookTxt", 4);

    lblHookNote = new QLabel(
            QStringLiteral(
                    "A hook can be chosen when its module is installed in the program's vhook folder."),
            grpHook);
    lblHookNote->setObjectName(QStringLiteral("lblHookNote"));
    lblHookNote->setGeometry(kLeft, kHookNoteTop, modeWidth, 40);
    lblHookNote->setWordWrap(true);
    QPalette muted = lblHookNote->palette();
    muted.setColor(QPalette::WindowText, QColor(0x6B, 0x78, 0x89));
    lblHookNote->setPalette(muted);

    for (QRadioButton* mode : {rdoExternalHook, rdoCustomHook})
        connect(mode, &QRadioButton::toggled, this, &THooksPage::RefreshEnables);
    for (QCheckBox* hook : {chkImlib2Img, chkImlib2Txt, chkWaterMark, chkVantelHookImg, chkVantelHookTxt})
        connect(hook, &QCheckBox::toggled, this, &THooksPage::RefreshEnables);
    RefreshEnables();
}

QCheckBox* THooksPage::AddCheck(const char* name, const QString& caption, int left, int row) {
    auto* check = new QCheckBox(caption, grpHook);
    check->setObjectName(QString::fromLatin1(name));
    // A hook's box reaches to the second column, an option's box to the next column.
    const int right = left == kLeft ? kHookSecondColumn : left + kHookThirdColumn - kHookSecondColumn;
    check->setGeometry(left, RowTop(row), right - left - kColumnGap, kRowHeight);
    return check;
}

QLineEdit* THooksPage::AddTextEdit(const char* name, int row) {
    auto* edit = new QLineEdit(kDefaultHookText, grpHook);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(kHookSecondColumn, RowTop(row), kTextEditWidth, kRowHeight);
    return edit;
}

void THooksPage::EnableHook(QCheckBox* hook, THook module, bool external) {
    const bool present = IsHookModulePresent(module, FProgramFolder);
    hook->setEnabled(external && present);
    hook->setToolTip(present ? QString()
                             : QStringLiteral("Needs vhook/%1 in the program folder.")
                                       .arg(QLatin1String(HookModule(module).Module)));
}

void THooksPage::RefreshEnables() {
    const bool external = rdoExternalHook->isChecked();
    EnableHook(chkImlib2Img, THook::Imlib2Image, external);
    EnableHook(chkImlib2Txt, THook::Imlib2Text, external);
    EnableHook(chkWaterMark, THook::WaterMark, external);
    EnableHook(chkVantelHookImg, THook::DemoImage, external);
    EnableHook(chkVantelHookTxt, THook::DemoText, external);
    EnableDependant(chkImgDancing, chkImlib2Img);
    EnableDependant(edtImlib2Txt, chkImlib2Txt);
    EnableDependant(chkTxtScrolling, chkImlib2Txt);
    EnableDependant(chkWaterMarkMode, chkWaterMark);
    EnableDependant(edtVantelHookTxt, chkVantelHookTxt);
}

void THooksPage::FillChoices(THookChoices& hooks) const {
    const auto active = [](const QCheckBox* hook) { return hook->isEnabled() && hook->isChecked(); };
    hooks.Mode = rdoCustomHook->isChecked() ? THookMode::Custom : THookMode::External;
    hooks.Imlib2Image = active(chkImlib2Img);
    hooks.ImageDancing = chkImgDancing->isChecked();
    hooks.Imlib2Text = active(chkImlib2Txt);
    hooks.Imlib2TextText = edtImlib2Txt->text();
    hooks.TextScrolling = chkTxtScrolling->isChecked();
    hooks.WaterMark = active(chkWaterMark);
    hooks.WaterMarkMode1 = chkWaterMarkMode->isChecked();
    hooks.DemoImage = active(chkVantelHookImg);
    hooks.DemoText = active(chkVantelHookTxt);
    hooks.DemoTextText = edtVantelHookTxt->text();
}

void THooksPage::ShowDrawnTexts() {
    edtImlib2Txt->setText(DrawnText(edtImlib2Txt));
}

}  // namespace kestrova
