// The window's components at their places and in their initial states.
#include "app/main/ActivityLog.h"
#include "app/main/MainFrm.h"
#include "app/main/QueueColumns.h"
#include "app/main/StartPanel.h"
#include "ui/skin/CoolSB.h"
#include "ui/skin/ListViewEx.h"
#include "ui/skin/SkinHeader.h"
#include "ui/skin/SkinPalette.h"
#include "ui/skin/SkinPictures.h"
#include "ui/skin/XGraphic.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace kestrova {

namespace {

constexpr QRect kQueueList{24, 145, 754, 314};
constexpr QRect kStartPanelPlace{25, 146, 752, 312};
constexpr int kListEdges = 4;  // the columns leave the list's edges free
// The activity log, when the user shows it, covers the lower part of the queue.
constexpr QRect kActivityLogPlace{25, 290, 752, 168};
constexpr int kLogCaptionHeight = 20;
constexpr QPoint kTitlePlace{27, 4};
constexpr QPoint kCpuPlace{730, 467};
// The run's time left covers the background's tip while a run shows it.
constexpr QRect kTimeLeftPlace{24, 465, 340, 18};
constexpr QPoint kShutDownPlace{370, 464};
constexpr int kShutDownGap = 6;  // between the check box's caption and the CPU meter

struct TColumn {
    const char* Caption;
    int Width;
};
constexpr TColumn kColumns[] = {{"Input", 120},  {"Total Time", 68},      {"File Size", 76},
                                {"Output", 156}, {"Output Duration", 90}, {"Output Size", 80},
                                {"Status", 80},  {"Settings", 80}};

QLabel* TextLabel(QWidget* parent, QPoint place, QRgb colour) {
    auto* label = new QLabel(parent);
    label->move(place);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(colour));
    label->setPalette(palette);
    label->setAttribute(Qt::WA_TranslucentBackground);
    return label;
}

// The queue's menu in the list's colours, so that it opens as part of the dark window.
QPalette MenuPalette(const QPalette& base) {
    QPalette palette = skin::QueueListPalette(base);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Window, QColor(skin::kListAlternateBase));
        palette.setColor(group, QPalette::Button, QColor(skin::kListAlternateBase));
        palette.setColor(group, QPalette::ButtonText, QColor(skin::kListText));
        palette.setColor(group, QPalette::Light, QColor(skin::kListGrid));
        palette.setColor(group, QPalette::Dark, QColor(skin::kListGrid));
        palette.setColor(group, QPalette::Shadow, QColor(skin::kListGrid));
        // The check boxes of the checkable entries stand out a little from the menu.
        palette.setColor(group, QPalette::Base, QColor(skin::kListSelection));
    }
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, QColor(skin::kMutedText).darker(130));
    return palette;
}

// The largest font, at most the window's, that keeps the caption left of `rightLimit`.
void FitCaption(QCheckBox& box, int rightLimit) {
    QFont font = box.font();
    for (qreal size = font.pointSizeF(); size > 5.0; size -= 0.5) {
        font.setPointSizeF(size);
        box.setFont(font);
        box.adjustSize();
        if (box.x() + box.width() <= rightLimit) return;
    }
}

}  // namespace

void TfrmMain::CreateComponents() {
    setFixedSize(kClientSize);
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setWindowIcon(skin::LoadProgramIcon(FProgramFolder));
    CreateBackgroundAndTitle();
    CreateCommandButtons();
    CreateQueueList();
    CreateStartPanel();
    CreateStatusLine();
    CreateActivityLog();
    CreatePopupMenu();
    CreateRunSettings();
}

void TfrmMain::CreateBackgroundAndTitle() {
    Pic_Mainbg = new QLabel(this);
    Pic_Mainbg->setPixmap(QPixmap(FProgramFolder + skin::kMainFolder + skin::kMainBackground));
    Pic_Mainbg->setGeometry(rect());
    // Presses on the background belong to the window, which drags itself.
    Pic_Mainbg->setAttribute(Qt::WA_TransparentForMouseEvents);

    lblTitle = TextLabel(this, kTitlePlace, skin::kCaptionText);
    QFont titleFont = font();
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
}

void TfrmMain::CreateCommandButtons() {
    struct TPlace {
        TXGraphic*& Button;
        QLatin1String Stem;
        QPoint Place;
        bool Enabled;
    };
    const TPlace places[] = {
            {btnAdd, skin::kButtonAdd, {1, 21}, true},
            {btnRemove, skin::kButtonRemove, {81, 21}, false},
            {btnClear, skin::kButtonClear, {161, 21}, false},
            {btnOptions, skin::kButtonOptions, {241, 21}, true},
            {btnHelp, skin::kButtonHelp, {321, 21}, true},
            {btnDownload, skin::kButtonDownload, {401, 21}, true},
            {btnStart, skin::kButtonStart, {400, 100}, false},
            {btnStop, skin::kButtonStop, {460, 100}, false},
            {btnPause, skin::kButtonPause, {520, 100}, false},
            {btnUp, skin::kButtonUp, {580, 100}, false},
            {btnDown, skin::kButtonDown, {640, 100}, false},
            {btnLocation, skin::kButtonLocation, {700, 100}, true},
            {XGraphicMin, skin::kButtonMinimise, {0, 0}, true},
            {XGraphicClose, skin::kButtonClose, {0, 0}, true},
    };
    for (const TPlace& place : places) {
        place.Button = new TXGraphic(this);
        place.Button->SetAutoSize(true);
        skin::ApplyButtonPictures(*place.Button, skin::LoadButtonPictures(FProgramFolder, place.Stem));
        place.Button->move(place.Place);
        place.Button->SetEnabled(place.Enabled);
    }
    btnAdd->setCursor(Qt::PointingHandCursor);
}

void TfrmMain::CreateQueueList() {
    lvFiles = new TListViewEx(this);
    lvFiles->setGeometry(kQueueList);
    lvFiles->setFrameShape(QFrame::NoFrame);
    lvFiles->setPalette(skin::QueueListPalette(lvFiles->palette()));
    lvFiles->setAlternatingRowColors(true);
    lvFiles->SetRowHeight(skin::kListRowHeight);
    lvFiles->SetGridLines(true);
    lvFiles->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvFiles->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvFiles->setContextMenuPolicy(Qt::CustomContextMenu);
    QStringList captions;
    for (const TColumn& column : kColumns) captions << QString::fromLatin1(column.Caption);
    lvFiles->setHeaderLabels(captions);
    // Whole captions in the list's width; the names take what the other columns leave.
    const int captionMargin =
            TSkinHeader::kCaptionIndent + lvFiles->header()->style()->pixelMetric(QStyle::PM_HeaderMargin);
    const std::vector<int> widths = QueueColumnWidths(
            lvFiles->header()->fontMetrics(), lvFiles->fontMetrics(), captions, captionMargin,
            kColumns[lvFiles->columnCount() - 1].Width, kQueueList.width() - kListEdges);
    for (int column = 0; column < lvFiles->columnCount(); ++column)
        lvFiles->header()->resizeSection(column, widths[static_cast<std::size_t>(column)]);

    // The strips the skinned header and scroll bars are cut from.
    FHeaderSkin = new TSkinHeader(QPixmap(FProgramFolder + skin::kMainFolder + skin::kHeaderStrip), this);
    FScrollBarSkin = new TCoolSB(QPixmap(FProgramFolder + skin::kMainFolder + skin::kScrollBarStrip),
                                 kQueueStripCells, this);

    pnlLVEdit = new QFrame(this);
    pnlLVEdit->setFrameShape(QFrame::Box);
    pnlLVEdit->hide();
    edtLVEdit = new QLineEdit(pnlLVEdit);
    edtLVEdit->setFrame(false);
}

void TfrmMain::CreateStartPanel() {
    Panel_Gettingstarted = new QWidget(this);
    Panel_Gettingstarted->setGeometry(kStartPanelPlace);
    imgStartPanel = new TStartPanel(Panel_Gettingstarted);
    imgStartPanel->setPixmap(QPixmap(FProgramFolder + skin::kMainFolder + skin::kStartPanel));
    imgStartPanel->setGeometry(0, 0, kStartPanelPlace.width(), kStartPanelPlace.height());
}

void TfrmMain::CreateStatusLine() {
    lblCPU = TextLabel(this, kCpuPlace, skin::kMeterText);
    lblTimeLeft = new QLabel(this);
    lblTimeLeft->setGeometry(kTimeLeftPlace);
    lblTimeLeft->setIndent(2);
    QPalette timePalette = lblTimeLeft->palette();
    timePalette.setColor(QPalette::WindowText, QColor(skin::kMeterText));
    // The status band beside the tip, repeated along the label.
    timePalette.setBrush(QPalette::Window,
                         QBrush(Pic_Mainbg->pixmap().copy(kTimeLeftPlace.left() - 4, kTimeLeftPlace.top(), 1,
                                                          kTimeLeftPlace.height())));
    lblTimeLeft->setPalette(timePalette);
    lblTimeLeft->setAutoFillBackground(true);
    lblTimeLeft->hide();
    chkShutDown = new QCheckBox(
            QStringLiteral(" Automatically shutdown the computer when conversion finished"), this);
    QPalette palette = chkShutDown->palette();
    palette.setColor(QPalette::WindowText, QColor(skin::kMutedText));
    chkShutDown->setPalette(palette);
    chkShutDown->move(kShutDownPlace);
    FitCaption(*chkShutDown, kCpuPlace.x() - kShutDownGap);

    tmrCPU = new QTimer(this);
    tmrCPU->setInterval(1000);
}

void TfrmMain::CreateActivityLog() {
    pnlLog = new QFrame(this);
    pnlLog->setGeometry(kActivityLogPlace);
    pnlLog->setAutoFillBackground(true);
    pnlLog->setPalette(skin::QueueListPalette(pnlLog->palette()));
    auto* caption = new QLabel(
            QStringLiteral("  Activity log  \u00B7  double-click to clear  \u00B7  F12 to hide"), pnlLog);
    caption->setFixedHeight(kLogCaptionHeight);
    caption->setAutoFillBackground(true);
    QPalette captionPalette = caption->palette();
    captionPalette.setColor(QPalette::Window, QColor(skin::kListGrid));
    captionPalette.setColor(QPalette::WindowText, QColor(skin::kHeaderText));
    caption->setPalette(captionPalette);
    mmoLog = new TActivityLog(pnlLog);
    mmoLog->setPalette(skin::QueueListPalette(mmoLog->palette()));
    QFont logFont(QStringLiteral("DejaVu Sans Mono"));
    logFont.setPixelSize(11);
    mmoLog->setFont(logFont);
    auto* layout = new QVBoxLayout(pnlLog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(caption);
    layout->addWidget(mmoLog);
    pnlLog->hide();
    // Also reachable without the list's menu.
    for (const QKeySequence& key : {QKeySequence(Qt::Key_F12), QKeySequence(Qt::CTRL | Qt::Key_L)}) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this, &TfrmMain::ToggleActivityLog);
    }
}

void TfrmMain::CreatePopupMenu() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setPalette(MenuPalette(PopupMenu1->palette()));
    mnuAdd = PopupMenu1->addAction(QStringLiteral("Add"));
    mnuRemove = PopupMenu1->addAction(QStringLiteral("Remove"));
    mnuClear = PopupMenu1->addAction(QStringLiteral("Clear"));
    PopupMenu1->addSeparator();
    mnuPlayOutput = PopupMenu1->addAction(QStringLiteral("Play Output"));
    mnuOpenFolder = PopupMenu1->addAction(QStringLiteral("Open Folder"));
    // Nothing to act on in an empty queue.
    for (QAction* rowAction : {mnuRemove, mnuClear, mnuPlayOutput, mnuOpenFolder})
        rowAction->setEnabled(false);
    PopupMenu1->addSeparator();
    mnuActivityLog = PopupMenu1->addAction(QStringLiteral("Activity Log\tF12"));
    mnuActivityLog->setCheckable(true);
    // Conversions show their pictures in a small window while they run.
    mnuPreview = PopupMenu1->addAction(QStringLiteral("Preview While Converting"));
    mnuPreview->setCheckable(true);
}

void TfrmMain::CreateRunSettings() {
    chkThreadMode = new QCheckBox(QStringLiteral("Thread Mode"), this);
    chkThreadMode->setChecked(true);
    chkThreadMode->hide();
    edtThreadCount = new QLineEdit(QStringLiteral("1"), this);
    edtThreadCount->hide();
    grpPriority = new QGroupBox(QStringLiteral("Thread Priority"), this);
    grpPriority->hide();
    grpPriorityItems = new QButtonGroup(grpPriority);
    int id = 0;
    for (const char* item : {"Idle", "Lowest", "Lower", "Normal"})
        grpPriorityItems->addButton(new QRadioButton(QString::fromLatin1(item), grpPriority), id++);
    grpPriorityItems->button(2)->setChecked(true);
}

}  // namespace kestrova
