#include "app/settings/GeneralOptionsFrm.h"

#include "app/settings/IntegerText.h"
#include "app/settings/OptionsBackground.h"
#include "app/settings/Settings.h"
#include "app/settings/UpDown.h"
#include "filenames/FolderName.h"
#include "shell/ErrorDisplay.h"
#include "shell/OutputFolder.h"
#include "shell/Prompts.h"
#include "shell/ShellCommands.h"
#include "ui/skin/PanelGroupStyle.h"
#include "ui/skin/SkinPalette.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace kestrova {

namespace {

constexpr QSize kClientSize(445, 289);
constexpr int kProcessesMinimum = 0;
constexpr int kProcessesMaximum = 100;
constexpr int kDefaultProcesses = 3;

// Two items end in a blank, as the program always showed them.
const QStringList kPriorityItems = {
        QStringLiteral("Run in normal priority"),
        QStringLiteral("Run in Lower priority "),
        QStringLiteral("Run in Lowest priority "),
        QStringLiteral("Run only when the system is idle"),
};

template <class Widget>
Widget* Place(Widget* widget, const char* name, const QRect& geometry) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry) {
    auto* button = Place(new QPushButton(caption, parent), name, geometry);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

const QString TFrmGeneralOption::UpdatePageAddress =
        QStringLiteral("https://kestrova.orvanta.example/update");

TFrmGeneralOption::TFrmGeneralOption(TSettingsStore& settings, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      FSettings(settings) {
    FormCreate();
}

void TFrmGeneralOption::FormCreate() {
    setObjectName(QStringLiteral("FrmGeneralOption"));
    setWindowTitle(QStringLiteral("Options"));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setFixedSize(kClientSize);
    setModal(true);
    FBackground = OptionsBackground(kClientSize);
    // In the skin's dark colours, its groups titled inside the background's panels.
    setPalette(skin::DialogPalette(palette()));
    CreateControls();
    auto* groupStyle = new TPanelGroupStyle(this);
    for (QGroupBox* group : findChildren<QGroupBox*>()) group->setStyle(groupStyle);
    for (QRadioButton* radio : findChildren<QRadioButton*>())
        radio->setPalette(skin::IndicatorPalette(radio->palette()));
    ConnectHandlers();
    FillFromSettings();
}

void TFrmGeneralOption::CreateControls() {
    grpConvert = Place(new QGroupBox(QStringLiteral("Convert"), this), "grpConvert", {10, 8, 425, 124});
    lblProcess = Place(new QLabel(QStringLiteral("Maximum Simultaneous Running Processes:"), grpConvert),
                       "lblProcess", {14, 24, 260, 20});
    edtProcess = Place(new QLineEdit(grpConvert), "edtProcess", {280, 22, 44, 22});
    udProcess = Place(new TUpDown(grpConvert), "udProcess", {324, 22, 16, 22});
    udProcess->SetRange(kProcessesMinimum, kProcessesMaximum);
    udProcess->SetBuddy(edtProcess);

    rdgrpPriority = Place(new QGroupBox(QStringLiteral("Priority in running background"), grpConvert),
                          "rdgrpPriority", {10, 52, 405, 62});
    rdgrpPriorityItems = new QButtonGroup(rdgrpPriority);
    // Two columns, filled top to bottom: items 0 and 1 on the left, 2 and 3 on the right.
    for (int item = 0; item < kPriorityItems.size(); ++item) {
        auto* radio = new QRadioButton(kPriorityItems[item], rdgrpPriority);
        radio->setObjectName(QStringLiteral("rdgrpPriorityItem%1").arg(item));
        rdgrpPriorityItems->addButton(radio, item);
    }
    PlacePriorityColumns();

    grpOutput = Place(new QGroupBox(QStringLiteral("Output"), this), "grpOutput", {10, 138, 425, 102});
    lblDestination =
            Place(new QLabel(QStringLiteral("Destination:"), grpOutput), "lblDestination", {14, 20, 200, 20});
    edtOutPutFolder = Place(new QLineEdit(grpOutput), "edtOutPutFolder", {14, 42, 397, 22});
    edtOutPutFolder->setReadOnly(true);
    edtOutPutFolder->setPalette(skin::ReadOnlyFieldPalette(edtOutPutFolder->palette()));
    btnBrowse = MakeButton(grpOutput, "btnBrowse", QStringLiteral("Browse"), {256, 70, 75, 24});
    btnOpen = MakeButton(grpOutput, "btnOpen", QStringLiteral("Open"), {336, 70, 75, 24});

    btnRestore = MakeButton(this, "btnRestore", QStringLiteral("Restore defaults"), {10, 252, 110, 26});
    btnOk = MakeButton(this, "btnOk", QStringLiteral("OK"), {200, 252, 75, 26});
    btnCancel = MakeButton(this, "btnCancel", QStringLiteral("Cancel"), {280, 252, 75, 26});
    btnApply = MakeButton(this, "btnApply", QStringLiteral("Apply"), {360, 252, 75, 26});
    btnOk->setDefault(true);

    // Kept below the visible client area: the update check is not offered on screen.
    grpUpdate = Place(new QGroupBox(QStringLiteral("Update"), this), "grpUpdate", {10, 300, 425, 56});
    btnCheckUpdate =
            MakeButton(grpUpdate, "btnCheckUpdate", QStringLiteral("Check for update"), {14, 22, 120, 24});
}

void TFrmGeneralOption::PlacePriorityColumns() {
    // The right column starts half-way unless its longest caption needs more room.
    constexpr int kMargin = 10;
    constexpr int kTop = 18;
    constexpr int kRowHeight = 20;
    const int width = rdgrpPriority->width();
    int rightCaption = 0;
    for (int item = 2; item < kPriorityItems.size(); ++item)
        rightCaption = std::max(rightCaption, rdgrpPriorityItems->button(item)->sizeHint().width());
    const int rightColumn = std::min(width / 2, width - kMargin - rightCaption);
    for (int item = 0; item < kPriorityItems.size(); ++item) {
        const int left = item < 2 ? kMargin : rightColumn;
        const int right = item < 2 ? rightColumn - kMargin : width - kMargin / 2;
        rdgrpPriorityItems->button(item)->setGeometry(left, kTop + (item % 2) * kRowHeight, right - left,
                                                      kRowHeight);
    }
}

void TFrmGeneralOption::ConnectHandlers() {
    connect(udProcess, &TUpDown::Clicked, this, &TFrmGeneralOption::udProcessClick);
    // Typing a new count makes it worth applying as much as stepping it does.
    connect(edtProcess, &QLineEdit::textEdited, this, &TFrmGeneralOption::udProcessClick);
    connect(edtOutPutFolder, &QLineEdit::textChanged, this, &TFrmGeneralOption::edtOutPutFolderChange);
    connect(rdgrpPriorityItems, &QButtonGroup::idClicked, this, &TFrmGeneralOption::rdgrpPriorityClick);
    connect(btnRestore, &QPushButton::clicked, this, &TFrmGeneralOption::btnRestoreClick);
    connect(btnApply, &QPushButton::clicked, this, &TFrmGeneralOption::btnApplyClick);
    connect(btnOk, &QPushButton::clicked, this, &TFrmGeneralOption::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &TFrmGeneralOption::btnCancelClick);
    connect(btnBrowse, &QPushButton::clicked, this, &TFrmGeneralOption::btnBrowseClick);
    connect(btnOpen, &QPushButton::clicked, this, &TFrmGeneralOption::btnOpenClick);
    connect(btnCheckUpdate, &QPushButton::clicked, this, &TFrmGeneralOption::btnCheckUpdateClick);
}

void TFrmGeneralOption::FillFromSettings() {
    const TGeneralSettings& values = FSettings.Values();
    const int lastItem = static_cast<int>(kPriorityItems.size()) - 1;
    rdgrpPriorityItems->button(std::min<int>(values.Priority, lastItem))->setChecked(true);
    RunShowingErrors([&] { edtOutPutFolder->setText(ResolveOutputFolder(values.OutputFolder)); });
    udProcess->SetPosition(values.Processes);
}

void TFrmGeneralOption::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TFrmGeneralOption::FormShow() {
    FillFromSettings();
}

void TFrmGeneralOption::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, FBackground);
    QDialog::paintEvent(event);
}

bool TFrmGeneralOption::StoreAndSave() {
    return RunShowingErrors([this] {
        const int processes = IntegerOfText(edtProcess->text());
        TGeneralSettings& values = FSettings.Values();
        values.Processes = processes;
        values.Priority = static_cast<quint8>(std::max(rdgrpPriorityItems->checkedId(), 0));
        values.OutputFolder = edtOutPutFolder->text();
        FSettings.Save();
    });
}

void TFrmGeneralOption::udProcessClick() {
    btnApply->setEnabled(true);
}

void TFrmGeneralOption::edtOutPutFolderChange() {
    btnApply->setEnabled(true);
}

void TFrmGeneralOption::rdgrpPriorityClick() {
    btnApply->setEnabled(true);
}

void TFrmGeneralOption::btnRestoreClick() {
    rdgrpPriorityItems->button(0)->setChecked(true);
    RunShowingErrors([this] { edtOutPutFolder->setText(ResolveOutputFolder(QString())); });
    udProcess->SetPosition(kDefaultProcesses);
    btnApply->setEnabled(true);
}

void TFrmGeneralOption::btnApplyClick() {
    // Stays enabled when nothing could be saved, so that the user can try again.
    if (StoreAndSave()) btnApply->setEnabled(false);
}

void TFrmGeneralOption::btnOkClick() {
    if (StoreAndSave()) accept();
}

void TFrmGeneralOption::btnCancelClick() {
    reject();
}

void TFrmGeneralOption::btnBrowseClick() {
    const QString folder = BrowseForFolder(this, QStringLiteral("Select Destination Folder"), false,
                                           edtOutPutFolder->text());
    if (!folder.isEmpty()) edtOutPutFolder->setText(WithoutTrailingSeparator(folder));
}

void TFrmGeneralOption::btnOpenClick() {
    ShellOpenOrSay(edtOutPutFolder->text());
}

void TFrmGeneralOption::btnCheckUpdateClick() {
    ShellOpenOrSay(UpdatePageAddress);
}

}  // namespace kestrova
