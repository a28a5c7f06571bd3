#pragma once
// The program's main window: the skinned, borderless 800 x 500 window that holds the
// conversion queue, its command buttons, the run controls and the status line, and owns the
// engine logger whose lines it collects in its activity log.
//
// The window's components are created with their places and initial states; the queue and
// run handlers (adding files, converting, pausing, stopping...) attach to them in their own
// source files. The window also owns the engine component VADOR, and while it lives the
// engine's main-thread calls run in the event loop and conversions preview in Qt windows.
#include "app/main/CpuUsage.h"
#include "app/main/MainThreadPump.h"
#include "app/preview/PreviewWindow.h"

#include "engine/frame/FFmpegLogger.h"
#include "engine/front/FFmpegEngine.h"

#include <QStringList>
#include <QWidget>

#include <memory>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QFileDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTimer;

namespace kestrova {

class TActivityLog;
class TCoolSB;
class TFrmGeneralOption;
class TListViewEx;
class TSkinHeader;
class TStartPanel;
class TXGraphic;

class TfrmMain : public QWidget {
    Q_OBJECT

public:
    static constexpr QSize kClientSize{800, 500};
    static const QString kWindowTitle;

    // `programFolder` holds the skin (with a trailing separator); `startFiles` are the files
    // named on the command line, for the queue to take up.
    explicit TfrmMain(const QString& programFolder, QStringList startFiles = {}, QWidget* parent = nullptr);
    ~TfrmMain() override;

    const QStringList& StartFiles() const { return FStartFiles; }
    // The program folder the window draws its skin from (with a trailing separator).
    const QString& ProgramFolder() const { return FProgramFolder; }
    TFFLogger& Logger() { return *FFLogger; }
    TActivityLog& ActivityLog() { return *mmoLog; }
    // The open dialog of Add, made with its options on first use.
    QFileDialog& OpenDialog();
    // The file types Add offers.
    static const QString OpenDialogFilter;

    // The general options dialog of the options button (made after the window at start-up).
    void SetGeneralOptions(TFrmGeneralOption& dialog);

    // The hidden run settings read at Start.
    bool ThreadMode() const;
    QLineEdit& ThreadCountEdit() { return *edtThreadCount; }
    int PriorityIndex() const;

    // The status line's estimate of the time the run still takes; nothing for a negative one.
    void ShowTimeLeft(qint64 seconds);

    // Shows or hides the activity log over the lower part of the queue.
    void ToggleActivityLog();

    // Detaches the queue's handlers from the engine and stops every conversion, waiting for
    // them: after it no engine event reaches the queue.
    void StopConversions();

    // The engine component: every conversion of the queue runs on it.
    std::unique_ptr<TFFmpegEngine> VADOR;

    // Components, by their design names.
    QLabel* Pic_Mainbg;
    QLabel* lblTitle;
    QLabel* lblCPU;
    QLabel* lblTimeLeft;
    TXGraphic* XGraphicClose;
    TXGraphic* XGraphicMin;
    TXGraphic* btnAdd;
    TXGraphic* btnRemove;
    TXGraphic* btnClear;
    TXGraphic* btnOptions;
    TXGraphic* btnHelp;
    TXGraphic* btnDownload;
    TXGraphic* btnStart;
    TXGraphic* btnStop;
    TXGraphic* btnPause;
    TXGraphic* btnUp;
    TXGraphic* btnDown;
    TXGraphic* btnLocation;
    TListViewEx* lvFiles;
    QWidget* Panel_Gettingstarted;
    TStartPanel* imgStartPanel;
    QFrame* pnlLVEdit;
    QLineEdit* edtLVEdit;
    QCheckBox* chkShutDown;
    QFrame* pnlLog;  // holds the activity log with its caption when the user shows it
    TActivityLog* mmoLog;
    QMenu* PopupMenu1;
    QAction* mnuAdd;
    QAction* mnuRemove;
    QAction* mnuClear;
    QAction* mnuPlayOutput;
    QAction* mnuOpenFolder;
    QAction* mnuActivityLog;
    QAction* mnuPreview;
    QTimer* tmrCPU;
    QCheckBox* chkThreadMode;
    QLineEdit* edtThreadCount;
    QGroupBox* grpPriority;
    QButtonGroup* grpPriorityItems;

    // The web pages of the help and download buttons.
    static const QString HelpPageAddress;
    static const QString DownloadPageAddress;

protected:
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateComponents();
    void CreateBackgroundAndTitle();
    void CreateCommandButtons();
    void CreateQueueList();
    void CreateStartPanel();
    void CreateStatusLine();
    void CreateActivityLog();
    void CreatePopupMenu();
    void CreateRunSettings();
    void ConnectHandlers();

    void FormCreate();
    void mnuPreviewClick(bool checked);
    void FormCloseQuery();
    void FormDestroy();
    void FormMouseDown();
    void lblTitleMouseDown();
    void XGraphicCloseClick();
    void XGraphicMinClick();
    void btnOptionsClick();
    void btnHelpClick();
    void btnDownloadClick();
    void imgStartPanelMouseUp(Qt::MouseButton button, QPoint position);
    void FFLoggerLog(const void* Sender, uint32_t AThreadID, TLogLevel ALogLevel, const std::string& ALogMsg);
    void tmrCPUTimer();

    QString FProgramFolder;
    QStringList FStartFiles;
    TMainThreadPump FMainThreadPump;
    TPreviewWindowRegistration FPreviewWindows;
    std::unique_ptr<TFFLogger> FFLogger;
    TCpuUsage FCpuUsage;
    static constexpr int kCpuFailuresShown = 5;  // ticks in a row before the meter gives up
    int FCpuFailures = 0;
    TSkinHeader* FHeaderSkin = nullptr;
    TCoolSB* FScrollBarSkin = nullptr;
    QFileDialog* OpenDialog1 = nullptr;
    TFrmGeneralOption* FGeneralOptions = nullptr;
};

}  // namespace kestrova
