#include "app/main/MainFrm.h"

#include "app/main/ActivityLog.h"
#include "app/main/StartPanel.h"
#include "app/queue/TimeLeft.h"
#include "app/settings/GeneralOptionsFrm.h"
#include "shell/ApplicationTitle.h"
#include "shell/ErrorDisplay.h"
#include "shell/ShellCommands.h"
#include "shell/VersionText.h"
#include "shell/WindowPlacement.h"
#include "ui/skin/CoolSB.h"
#include "ui/skin/ListViewEx.h"
#include "ui/skin/SkinHeader.h"
#include "ui/skin/SkinPalette.h"
#include "ui/skin/XGraphic.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

namespace kestrova {

namespace {

// The window's own logger. A logger the engine made for itself before any window existed
// (a library loaded early) gives way to it.
std::unique_ptr<TFFLogger> MakeWindowLogger() {
    TFFLogger::FreeOwnedInstance();
    return std::make_unique<TFFLogger>();
}

constexpr QSize kOpenDialogSize{760, 440};

}  // namespace

const QString TfrmMain::kWindowTitle = kApplicationTitle;
const QString TfrmMain::HelpPageAddress = QStringLiteral("https://kestrova.orvanta.net/tutorial/");
const QString TfrmMain::OpenDialogFilter =
        QStringLiteral("FLV/MP4/MP3 (*.flv *.f4v *.mp4 *.mp3 *.wma *.wav)");
const QString TfrmMain::DownloadPageAddress = QStringLiteral("https://kestrova.orvanta.net/downloader/");

TfrmMain::TfrmMain(const QString& programFolder, QStringList startFiles, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::Window), FProgramFolder(programFolder),
      FStartFiles(std::move(startFiles)), FPreviewWindows(this), FFLogger(MakeWindowLogger()) {
    // Made after the logger, so that the engine logs into the window's one.
    VADOR = std::make_unique<TFFmpegEngine>();
    CreateComponents();
    FormCreate();
    ConnectHandlers();
}

TfrmMain::~TfrmMain() {
    FormDestroy();
}

void TfrmMain::FormCreate() {
    edtLVEdit->setFont(lvFiles->font());
    FHeaderSkin->Attach(*lvFiles->header());
    FScrollBarSkin->Attach(*lvFiles);
    FScrollBarSkin->Attach(*mmoLog);
    tmrCPU->start();
    CentreOnDesktop(*this);
    lblTitle->setText(QStringLiteral("Orvanta Kestrova ") + VersionText());
    lblTitle->adjustSize();
    XGraphicClose->move(width() - XGraphicClose->width(), 0);
    XGraphicMin->move(XGraphicClose->x() - XGraphicMin->width(), 0);
    setWindowTitle(kWindowTitle);
    FFLogger->OnLog = [this](const void* sender, uint32_t threadId, TLogLevel level,
                             const std::string& message) { FFLoggerLog(sender, threadId, level, message); };
}

void TfrmMain::ConnectHandlers() {
    lblTitle->installEventFilter(this);
    connect(XGraphicClose, &TXGraphic::OnClick, this, &TfrmMain::XGraphicCloseClick);
    connect(XGraphicMin, &TXGraphic::OnClick, this, &TfrmMain::XGraphicMinClick);
    connect(btnOptions, &TXGraphic::OnClick, this, &TfrmMain::btnOptionsClick);
    connect(btnHelp, &TXGraphic::OnClick, this, &TfrmMain::btnHelpClick);
    connect(btnDownload, &TXGraphic::OnClick, this, &TfrmMain::btnDownloadClick);
    connect(imgStartPanel, &TStartPanel::OnMouseUp, this, &TfrmMain::imgStartPanelMouseUp);
    connect(tmrCPU, &QTimer::timeout, this, &TfrmMain::tmrCPUTimer);
    // The menu's Add is the Add button's command, whoever handles it.
    connect(mnuAdd, &QAction::triggered, btnAdd, &TXGraphic::OnClick);
    connect(mnuActivityLog, &QAction::triggered, this, &TfrmMain::ToggleActivityLog);
    connect(mnuPreview, &QAction::triggered, this, &TfrmMain::mnuPreviewClick);
    connect(lvFiles, &QWidget::customContextMenuRequested, this,
            [this](QPoint position) { PopupMenu1->popup(lvFiles->viewport()->mapToGlobal(position)); });
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    FormCloseQuery();
    event->accept();
}

void TfrmMain::FormCloseQuery() {
    StopConversions();
}

// No engine notice reaches the window after this: the handlers are detached before every
// task is stopped (and waited for).
void TfrmMain::StopConversions() {
    VADOR->OnCustomHook = nullptr;
    VADOR->OnProgress = nullptr;
    VADOR->OnTerminate = nullptr;
    VADOR->Stop(true);
}

void TfrmMain::FormDestroy() {
    tmrCPU->stop();
    // A window destroyed without being closed first stops its run here.
    FormCloseQuery();
    try {
        VADOR->ClearTasks();
        if (VADOR->TasksCount() > 0) VADOR->ClearTasks();
    } catch (const std::exception&) {
        // Tasks still winding down are freed with the component, which stops them first.
    }
    VADOR.reset();
    // Lines logged while the window goes away have nowhere to be shown.
    FFLogger->OnLog = nullptr;
}

void TfrmMain::mnuPreviewClick(bool checked) {
    VADOR->SetPreview(checked);
}

void TfrmMain::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) FormMouseDown();
    QWidget::mousePressEvent(event);
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblTitle && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        lblTitleMouseDown();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmMain::FormMouseDown() {
    DragWindow(*this);
}

void TfrmMain::lblTitleMouseDown() {
    DragWindow(*this);
}

void TfrmMain::XGraphicCloseClick() {
    close();
}

void TfrmMain::XGraphicMinClick() {
    showMinimized();
}

void TfrmMain::SetGeneralOptions(TFrmGeneralOption& dialog) {
    FGeneralOptions = &dialog;
}

void TfrmMain::btnOptionsClick() {
    if (FGeneralOptions) FGeneralOptions->exec();
}

void TfrmMain::btnHelpClick() {
    ShellOpenOrSay(HelpPageAddress);
}

void TfrmMain::btnDownloadClick() {
    ShellOpenOrSay(DownloadPageAddress);
}

void TfrmMain::imgStartPanelMouseUp(Qt::MouseButton, QPoint position) {
    if (TStartPanel::AddHotSpot.contains(position)) emit btnAdd->OnClick();
}

void TfrmMain::FFLoggerLog(const void*, uint32_t, TLogLevel, const std::string& ALogMsg) {
    mmoLog->AppendLine(QString::fromStdString(ALogMsg));
}

void TfrmMain::tmrCPUTimer() {
    try {
        FCpuUsage.Collect();
        QString text;
        for (int instance = 0; instance < FCpuUsage.InstanceCount(); ++instance)
            text = CpuMeterText(FCpuUsage.Usage(instance));
        lblCPU->setText(text);
        lblCPU->adjustSize();
        FCpuFailures = 0;
    } catch (const std::exception& error) {
        // A sample can fail now and then: the next tick tries again. Counters that stay
        // unreadable are shown once, and the meter stops (a box every second would bury the
        // window).
        lblCPU->clear();
        if (++FCpuFailures < kCpuFailuresShown) return;
        tmrCPU->stop();
        ShowException(error);
    }
}

void TfrmMain::ToggleActivityLog() {
    pnlLog->setVisible(!pnlLog->isVisible());
    if (pnlLog->isVisible()) pnlLog->raise();
    mnuActivityLog->setChecked(pnlLog->isVisible());
}

void TfrmMain::ShowTimeLeft(qint64 seconds) {
    lblTimeLeft->setText(seconds < 0 ? QString() : QStringLiteral("Time left: ") + TimeLeftText(seconds));
    lblTimeLeft->setVisible(seconds >= 0);
}

bool TfrmMain::ThreadMode() const {
    return chkThreadMode->isChecked();
}

int TfrmMain::PriorityIndex() const {
    return grpPriorityItems->checkedId();
}

QFileDialog& TfrmMain::OpenDialog() {
    if (!OpenDialog1) {
        OpenDialog1 = new QFileDialog(this);
        OpenDialog1->setFileMode(QFileDialog::ExistingFiles);
        OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
        OpenDialog1->setSizeGripEnabled(true);
        OpenDialog1->setNameFilter(OpenDialogFilter);
        // Qt's own dialog, in the skin's colours, rather than a light one of the desktop.
        OpenDialog1->setOption(QFileDialog::DontUseNativeDialog);
        OpenDialog1->setPalette(skin::DialogPalette(OpenDialog1->palette()));
        OpenDialog1->resize(kOpenDialogSize);  // room for whole sizes and types
    }
    return *OpenDialog1;
}

}  // namespace kestrova
