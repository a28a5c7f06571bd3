#include "profiles/dialog/HooksPage.h"

#include "profiles/dialog/CardGroup.h"
#include "profiles/dialog/InformationBox.h"
#include "profiles/dialog/OptionPagesLayout.h"
#include "profiles/options/HookLines.h"
#include "profiles/options/HookModules.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace kestrova {

namespace {

using namespace optionpages;

constexpr int kLeft = 12;
constexpr int kTextEditWidth = 200;
constexpr int kColumnGap = 8;
const QString kDefaultHookText = QStringLiteral("Kestrova");

int RowTop(int row) {
    return kHookRowsTop + row * kHookRowPitch;
}

const QString kPtsPeriodsHelp =
        QStringLiteral("Enable Video Hook only in special periods, empty means whole duration enabled.\n"
                       "format: [<pts1>-<pts2>[,pts3-pts4[,...]]]\n"
                       "example: to process video hook only in pts periods 0-5,10-15 (seconds)\n"
                       "         PTS Periods (milliseconds) -> \"0-5000,10000-15000\"");

// A box that is usable and checked.
bool IsActive(const QAbstractButton* box) {
    return box->isEnabled() && box->isChecked();
}

// A control that belongs to a box: usable while that one is active.
void EnableDependant(QWidget* dependant, const QAbstractButton* parent) {
    dependant->setEnabled(IsActive(parent));
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
    auto* modes = new QButtonGroup(grpHook);
    rdoExternalHook = AddRadio(modes, "rdoExternalHook",
                               QStringLiteral("External Standard Hook (the modules of the vhook folder)"),
                               QRect(kLeft, kHookModeTop, modeWidth, kRowHeight));
    rdoCustomHook = AddRadio(modes, "rdoCustomHook",
                             QStringLiteral("Internal Custom Hook (frame numbers, time stamps, mirroring)"),
                             QRect(kLeft, kHookModeTop + kRowHeight, modeWidth, kRowHeight));
    rdoExternalHook->setChecked(true);

    chkImlib2Img = AddCheck("chkImlib2Img", QStringLiteral("Imlib2 - Image"), kLeft, 0);
    chkImgDancing = AddCheck("chkImgDancing", QStringLiteral("Dancing"), kHookSecondColumn, 0);
    chkImlib2Txt = AddCheck("chkImlib2Txt", QStringLiteral("Imlib2 - Text"), kLeft, 1);
    edtImlib2Txt = AddTextEdit("edtImlib2Txt", kDefaultHookText, RowTop(1));
    chkTxtScrolling = AddCheck("chkTxtScrolling", QStringLiteral("Scrolling"), kHookThirdColumn, 1);
    chkWaterMark = AddCheck("chkWaterMark", QStringLiteral("WaterMark"), kLeft, 2);
    chkWaterMarkMode = AddCheck("chkWaterMarkMode", QStringLiteral("Mode 0/1"), kHookSecondColumn, 2);
    chkVantelHookImg = AddCheck("chkVantelHookImg", QStringLiteral("DemoHook - Image"), kLeft, 3);
    chkVantelHookTxt = AddCheck("chkVantelHookTxt", QStringLiteral("DemoHook - Text"), kLeft, 4);
    edtVantelHookTxt = AddTextEdit("edtVantelHookTxt", kDefaultHookText, RowTop(4));
    CreateBehaviourRows();

    lblHookNote = new QLabel(
            QStringLiteral(
                    "A hook can be chosen when its module is installed in the program's vhook folder."),
            grpHook);
    lblHookNote->setObjectName(QStringLiteral("lblHookNote"));
    lblHookNote->setGeometry(kLeft, kHookNoteTop, modeWidth, 16);
    lblHookNote->setWordWrap(true);
    QPalette muted = lblHookNote->palette();
    muted.setColor(QPalette::WindowText, QColor(0x6B, 0x78, 0x89));
    lblHookNote->setPalette(muted);

    for (QRadioButton* mode : {rdoExternalHook, rdoCustomHook, rdoPTSs})
        connect(mode, &QRadioButton::toggled, this, &THooksPage::RefreshEnables);
    for (QCheckBox* hook : {chkImlib2Img, chkImlib2Txt, chkWaterMark, chkVantelHookImg, chkVantelHookTxt})
        connect(hook, &QCheckBox::toggled, this, &THooksPage::RefreshEnables);
    RefreshEnables();
}

// A box in the first column reaches to the second column, one further right to the next column.
QRect THooksPage::CellAt(int left, int top) {
    const int right = left == kLeft ? kHookSecondColumn : left + kHookThirdColumn - kHookSecondColumn;
    return {left, top, right - left - kColumnGap, kRowHeight};
}

QCheckBox* THooksPage::AddCheck(const char* name, const QString& caption, int left, int row) {
    auto* check = new QCheckBox(caption, grpHook);
    check->setObjectName(QString::fromLatin1(name));
    check->setGeometry(CellAt(left, RowTop(row)));
    return check;
}

QRadioButton* THooksPage::AddRadio(QButtonGroup* group, const char* name, const QString& caption,
                                   const QRect& geometry) {
    auto* radio = new QRadioButton(caption, grpHook);
    radio->setObjectName(QString::fromLatin1(name));
    radio->setGeometry(geometry);
    group->addButton(radio);
    return radio;
}

QLineEdit* THooksPage::AddTextEdit(const char* name, const QString& text, int top) {
    auto* edit = new QLineEdit(text, grpHook);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(kHookSecondColumn, top, kTextEditWidth, kRowHeight);
    return edit;
}

// How the checked hooks run: on every picture, or as the host's before-hook event or the typed
// periods decide.
void THooksPage::CreateBehaviourRows() {
    auto* behaviours = new QButtonGroup(grpHook);
    const int first = kHookBehaviourTop;
    const int second = kHookBehaviourTop + kHookRowPitch;
    rdoStandardHook = AddRadio(behaviours, "rdoStandardHook", QStringLiteral("Standard Hook Behavior"),
                               CellAt(kLeft, first));
    rdoBeforeHook = AddRadio(behaviours, "rdoBeforeHook", QStringLiteral("Enable BeforeHook Event"),
                             CellAt(kHookSecondColumn, first));
    rdoPTSs = AddRadio(behaviours, "rdoPTSs", QStringLiteral("PTS Periods"), CellAt(kLeft, second));
    rdoStandardHook->setChecked(true);
    edtPTSs = AddTextEdit("edtPTSs", QStringLiteral("0-5000,10000-15000"), second);
    btnPTSs = new QPushButton(QStringLiteral("?"), grpHook);
    btnPTSs->setObjectName(QStringLiteral("btnPTSs"));
    btnPTSs->setAutoDefault(false);
    btnPTSs->setGeometry(kHookSecondColumn + kTextEditWidth + kColumnGap, second, kRowHeight, kRowHeight);
    connect(btnPTSs, &QPushButton::clicked, this,
            [this] { ShowInformation(this, QStringLiteral("Video Hook PTS Periods"), kPtsPeriodsHelp); });
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
    const bool anyHook = IsActive(chkImlib2Img) || IsActive(chkImlib2Txt) || IsActive(chkWaterMark) ||
                         IsActive(chkVantelHookImg) || IsActive(chkVantelHookTxt);
    for (QRadioButton* behaviour : {rdoStandardHook, rdoBeforeHook, rdoPTSs}) behaviour->setEnabled(anyHook);
    EnableDependant(edtPTSs, rdoPTSs);
}

void THooksPage::FillChoices(THookChoices& hooks) const {
    hooks.Mode = rdoCustomHook->isChecked() ? THookMode::Custom : THookMode::External;
    hooks.Imlib2Image = IsActive(chkImlib2Img);
    hooks.ImageDancing = chkImgDancing->isChecked();
    hooks.Imlib2Text = IsActive(chkImlib2Txt);
    hooks.Imlib2TextText = edtImlib2Txt->text();
    hooks.TextScrolling = chkTxtScrolling->isChecked();
    hooks.WaterMark = IsActive(chkWaterMark);
    hooks.WaterMarkMode1 = chkWaterMarkMode->isChecked();
    hooks.DemoImage = IsActive(chkVantelHookImg);
    hooks.DemoText = IsActive(chkVantelHookTxt);
    hooks.DemoTextText = edtVantelHookTxt->text();
    hooks.Behaviour = rdoPTSs->isChecked()         ? THookBehaviour::Periods
                      : rdoBeforeHook->isChecked() ? THookBehaviour::BeforeHook
                                                   : THookBehaviour::Standard;
    hooks.PeriodsText = edtPTSs->text();
}

void THooksPage::ShowChoices(const THookChoices& hooks) {
    rdoCustomHook->setChecked(hooks.Mode == THookMode::Custom);
    rdoExternalHook->setChecked(hooks.Mode == THookMode::External);
    chkImlib2Img->setChecked(hooks.Imlib2Image);
    chkImgDancing->setChecked(hooks.ImageDancing);
    chkImlib2Txt->setChecked(hooks.Imlib2Text);
    edtImlib2Txt->setText(hooks.Imlib2TextText);
    chkTxtScrolling->setChecked(hooks.TextScrolling);
    chkWaterMark->setChecked(hooks.WaterMark);
    chkWaterMarkMode->setChecked(hooks.WaterMarkMode1);
    chkVantelHookImg->setChecked(hooks.DemoImage);
    chkVantelHookTxt->setChecked(hooks.DemoText);
    edtVantelHookTxt->setText(hooks.DemoTextText);
    rdoStandardHook->setChecked(hooks.Behaviour == THookBehaviour::Standard);
    rdoBeforeHook->setChecked(hooks.Behaviour == THookBehaviour::BeforeHook);
    rdoPTSs->setChecked(hooks.Behaviour == THookBehaviour::Periods);
    edtPTSs->setText(hooks.PeriodsText);
    RefreshEnables();
}

void THooksPage::ShowDrawnTexts() {
    edtImlib2Txt->setText(DrawnText(edtImlib2Txt));
}

bool THooksPage::PeriodsAccepted() const {
    return !IsActive(rdoPTSs) || HookPeriodsAccepted(edtPTSs->text());
}

void THooksPage::RefusePeriods() {
    ShowInformation(this, QStringLiteral("The PTS periods \"%1\" cannot be used: give each period as "
                                         "start-end in whole milliseconds, in ascending order and not "
                                         "overlapping, separated by commas (0-5000,10000-15000).")
                                  .arg(edtPTSs->text()));
    edtPTSs->setFocus();
    edtPTSs->selectAll();
}

}  // namespace kestrova
