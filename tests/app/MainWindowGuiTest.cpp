// The program's windows as start-up makes them, driven off screen: the main window's
// components and initial states, its chrome, the getting-started hot spot, the activity log,
// the application-wide error display, the shell pages, and closing during a conversion.
#include "app/main/ActivityLog.h"
#include "app/main/MainFrm.h"
#include "app/main/StartPanel.h"
#include "app/main/StartUp.h"
#include "app/settings/GeneralOptionsFrm.h"
#include "tests/app/Fakes.h"
#include "tests/support/TestMedia.h"
#include "ui/skin/ListViewEx.h"
#include "ui/skin/SkinHeader.h"
#include "ui/skin/XGraphic.h"

#include "engine/core/FFmpegException.h"
#include "engine/frame/FFmpegLoader.h"
#include "engine/frame/MainThread.h"
#include "profiles/picker/ListMenu.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

namespace kestrova::testing {

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() : FWindows(QStringLiteral(KESTROVA_PROGRAM_DIR), {}) {
        // Add opens the open dialog: the user cancels it.
        FDismiss.setInterval(20);
        QObject::connect(&FDismiss, &QTimer::timeout, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->reject();
        });
        FDismiss.start();
        Window().show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&Window()));
    }

    TfrmMain& Window() { return FWindows.MainWindow(); }

    TShellTestEnvironment FShell;
    QTimer FDismiss;
    TProgramWindows FWindows;
};

}  // namespace

TEST_F(MainWindowTest, StartsAsTheBorderlessSkinnedWindowWithItsTitle) {
    EXPECT_EQ(Window().size(), QSize(800, 500));
    EXPECT_TRUE(Window().windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(Window().windowTitle(), QStringLiteral("Orvanta Kestrova"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName())
            << "a display name is added to every window's caption";
    EXPECT_EQ(Window().lblTitle->text(), QStringLiteral("Orvanta Kestrova 3.0"));
    EXPECT_EQ(Window().lblTitle->pos(), QPoint(27, 4));
    EXPECT_FALSE(Window().Pic_Mainbg->pixmap().isNull()) << "the skin is missing";
    // Start-up made the general options dialog for the options button and the profile picker.
    EXPECT_EQ(FWindows.GeneralOptions().parentWidget(), &Window());
    EXPECT_GT(FWindows.Picker().GroupCount(), 0);
}

TEST_F(MainWindowTest, CentresOnTheDesktop) {
    const QRect desktop = Window().screen()->geometry();
    EXPECT_EQ(Window().pos(), QPoint(desktop.width() / 2 - 400, desktop.height() / 2 - 250));
}

TEST_F(MainWindowTest, EveryCommandButtonHasItsPlaceAndInitialState) {
    struct TCase {
        const char* Name;
        TXGraphic* Button;
        QRect Place;
        bool Enabled;
    };
    TfrmMain& w = Window();
    const TCase cases[] = {
            {"btnAdd", w.btnAdd, {1, 21, 78, 69}, true},
            {"btnRemove", w.btnRemove, {81, 21, 80, 69}, false},
            {"btnClear", w.btnClear, {161, 21, 80, 69}, false},
            {"btnOptions", w.btnOptions, {241, 21, 80, 69}, true},
            {"btnHelp", w.btnHelp, {321, 21, 80, 69}, true},
            {"btnDownload", w.btnDownload, {401, 21, 80, 69}, true},
            {"btnStart", w.btnStart, {400, 100, 42, 42}, false},
            {"btnStop", w.btnStop, {460, 100, 42, 42}, false},
            {"btnPause", w.btnPause, {520, 100, 42, 42}, false},
            {"btnUp", w.btnUp, {580, 100, 42, 42}, false},
            {"btnDown", w.btnDown, {640, 100, 42, 42}, false},
            {"btnLocation", w.btnLocation, {700, 100, 42, 42}, true},
            {"XGraphicMin", w.XGraphicMin, {756, 0, 22, 21}, true},
            {"XGraphicClose", w.XGraphicClose, {778, 0, 22, 21}, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(c.Button->geometry(), c.Place);
        EXPECT_EQ(c.Button->isEnabled(), c.Enabled);
        const QPixmap& shown = c.Enabled ? c.Button->PictureNormal() : c.Button->PictureDisabled();
        EXPECT_FALSE(shown.isNull());
        EXPECT_EQ(c.Button->Picture().cacheKey(), shown.cacheKey());
    }
    EXPECT_EQ(w.btnAdd->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(MainWindowTest, QueueStatusLineAndHiddenPartsStartAsDesigned) {
    TfrmMain& w = Window();
    EXPECT_EQ(w.lvFiles->geometry(), QRect(24, 145, 754, 314));
    EXPECT_EQ(w.lvFiles->ColumnCaptions(),
              (QStringList{"Input", "Total Time", "File Size", "Output", "Output Duration", "Output Size",
                           "Status", "Settings"}));
    int total = 0;
    for (int column = 0; column < w.lvFiles->columnCount(); ++column) {
        const int caption =
                w.lvFiles->header()->fontMetrics().horizontalAdvance(w.lvFiles->ColumnCaptions()[column]);
        const int margin = TSkinHeader::kCaptionIndent +
                           w.lvFiles->header()->style()->pixelMetric(QStyle::PM_HeaderMargin);
        EXPECT_GE(w.lvFiles->header()->sectionSize(column), caption + 2 * margin)
                << "a cut caption in column " << column;
        total += w.lvFiles->header()->sectionSize(column);
    }
    EXPECT_LE(total, w.lvFiles->width()) << "the columns fit the list";
    EXPECT_EQ(w.lvFiles->topLevelItemCount(), 0);
    EXPECT_TRUE(w.Panel_Gettingstarted->isVisible());
    EXPECT_EQ(w.Panel_Gettingstarted->geometry(), QRect(25, 146, 752, 312));
    EXPECT_FALSE(w.pnlLVEdit->isVisible());
    EXPECT_FALSE(w.mmoLog->isVisible());

    EXPECT_FALSE(w.chkShutDown->isChecked());
    EXPECT_EQ(w.chkShutDown->text(),
              QStringLiteral(" Automatically shutdown the computer when conversion finished"));
    EXPECT_EQ(w.chkShutDown->pos(), QPoint(370, 464));
    EXPECT_LE(w.chkShutDown->geometry().right(), w.lblCPU->x()) << "the caption runs into the CPU meter";
    EXPECT_EQ(w.lblCPU->pos(), QPoint(730, 467));
    EXPECT_TRUE(w.tmrCPU->isActive());
    EXPECT_EQ(w.tmrCPU->interval(), 1000);

    EXPECT_TRUE(w.ThreadMode());
    EXPECT_EQ(w.ThreadCountEdit().text(), QStringLiteral("1"));
    EXPECT_EQ(w.PriorityIndex(), 2);
    EXPECT_FALSE(w.grpPriority->isVisible());
    EXPECT_EQ(TfrmMain::OpenDialogFilter,
              QStringLiteral("FLV/MP4/MP3 (*.flv *.f4v *.mp4 *.mp3 *.wma *.wav)"));
}

TEST_F(MainWindowTest, TheMeterShowsTheLoadOfAllProcessorsAtEachTick) {
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Window().lblCPU->text().isEmpty(); }, 5000));
    const QString text = Window().lblCPU->text();
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("^CPU: *\\d{1,3}%$")))) << text.toStdString();
    EXPECT_EQ(text.size(), 10);
}

namespace {

class TUnreadableProcessorTimes : public platform::TProcessorTimes {
public:
    int Failures = 0;  // before the counters can be read; -1: never
    void Sample(std::vector<platform::TProcessorTicks>& ticks) override {
        if (Failures < 0 || Failures-- > 0)
            throw std::runtime_error("Unable to read the processor times from /proc/stat");
        ticks.assign(2, platform::TProcessorTicks{});
    }
};

}  // namespace

TEST_F(MainWindowTest, TheMeterRetriesQuietlyAndSaysOnceWhenTheCountersStayUnreadable) {
    auto times = std::make_unique<TUnreadableProcessorTimes>();
    TUnreadableProcessorTimes& unreadable = *times;
    unreadable.Failures = 2;
    platform::TScopedService<platform::TProcessorTimes> service(std::move(times));
    Window().tmrCPU->setInterval(10);
    Window().lblCPU->clear();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Window().lblCPU->text().isEmpty(); }, 2000));
    EXPECT_TRUE(FShell.Errors.empty()) << "a passing failure is retried quietly";

    unreadable.Failures = -1;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !FShell.Errors.empty(); }, 2000));
    QTest::qWait(100);
    ASSERT_EQ(FShell.Errors.size(), 1u);
    EXPECT_EQ(FShell.Errors[0].Text, QStringLiteral("Unable to read the processor times from /proc/stat."));
    EXPECT_FALSE(Window().tmrCPU->isActive());
    EXPECT_TRUE(Window().lblCPU->text().isEmpty());
}

namespace {

class TEventCounter : public QObject {
public:
    TEventCounter(QObject& watched, QEvent::Type type) : FType(type) { watched.installEventFilter(this); }
    int Count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        Count += event->type() == FType;
        return false;
    }

private:
    QEvent::Type FType;
};

}  // namespace

TEST_F(MainWindowTest, TheStartPictureActsAsAddOnlyInsideItsHotSpot) {
    struct TCase {
        QPoint Point;
        bool Adds;
    };
    const TCase cases[] = {{{206, 62}, true},  {{241, 97}, true},  {{224, 80}, true}, {{242, 98}, false},
                           {{242, 80}, false}, {{224, 98}, false}, {{205, 62}, false}};
    // A press that reached the window would start a window move.
    TEventCounter windowPresses(Window(), QEvent::MouseButtonPress);
    for (const TCase& c : cases) {
        QSignalSpy adds(Window().btnAdd, &TXGraphic::OnClick);
        QTest::mouseClick(Window().imgStartPanel, Qt::LeftButton, {}, c.Point);
        EXPECT_EQ(adds.count(), c.Adds ? 1 : 0) << c.Point.x() << "," << c.Point.y();
        EXPECT_EQ(windowPresses.Count, 0);
        QTest::mouseMove(Window().imgStartPanel, c.Point);
        EXPECT_EQ(Window().imgStartPanel->cursor().shape(),
                  c.Adds ? Qt::PointingHandCursor : Qt::ArrowCursor);
    }
}

TEST_F(MainWindowTest, CaptionButtonsMinimiseAndClose) {
    QTest::mouseClick(Window().XGraphicMin, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(Window().isMinimized());
    Window().showNormal();
    QTest::mouseClick(Window().XGraphicClose, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(Window().isVisible());
}

TEST_F(MainWindowTest, HelpAndDownloadOpenTheirPagesThroughTheShell) {
    QTest::mouseClick(Window().btnHelp, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseClick(Window().btnDownload, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(FShell.Shell().Opened,
              (std::vector<QString>{TfrmMain::HelpPageAddress, TfrmMain::DownloadPageAddress}));
    EXPECT_TRUE(FShell.Errors.empty());
    FShell.Shell().Accept = false;  // a desktop without a browser
    QTest::mouseClick(Window().btnHelp, Qt::LeftButton, {}, QPoint(10, 10));
    ASSERT_EQ(FShell.Errors.size(), 1u);
    EXPECT_EQ(FShell.Errors[0].Text,
              "There is no program on this desktop to open " + TfrmMain::HelpPageAddress + ".");
}

TEST_F(MainWindowTest, TheOptionsButtonShowsTheGeneralOptionsModally) {
    bool shownModal = false;
    QTimer::singleShot(0, [&] {
        shownModal = FWindows.GeneralOptions().isVisible() && FWindows.GeneralOptions().isModal();
        FWindows.GeneralOptions().reject();
    });
    QTest::mouseClick(Window().btnOptions, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(shownModal);
}

TEST_F(MainWindowTest, EngineLogLinesGoToTheActivityLogWhichADoubleClickEmpties) {
    Window().Logger().Log(nullptr, llQuiet, "first line");
    Window().Logger().Log(nullptr, llError, "second line");
    EXPECT_EQ(Window().ActivityLog().Lines(), (QStringList{"first line", "second line"}));
    QTest::mouseDClick(Window().mmoLog->viewport(), Qt::LeftButton);
    EXPECT_TRUE(Window().ActivityLog().Lines().isEmpty());
}

TEST_F(MainWindowTest, TheActivityLogIsShownAndHiddenByKeyAndByTheListsMenu) {
    QTest::keyClick(&Window(), Qt::Key_F12);
    EXPECT_TRUE(Window().mmoLog->isVisible());
    EXPECT_TRUE(Window().mnuActivityLog->isChecked());
    Window().mnuActivityLog->trigger();
    EXPECT_FALSE(Window().mmoLog->isVisible());
    EXPECT_TRUE(Window().PopupMenu1->actions().contains(Window().mnuActivityLog));
    QStringList captions;
    for (QAction* action : Window().PopupMenu1->actions()) captions << action->text();
    EXPECT_EQ(captions.mid(0, 6), (QStringList{"Add", "Remove", "Clear", "", "Play Output", "Open Folder"}));
}

TEST_F(MainWindowTest, ThePreviewEntrySetsTheEnginesPreviewFlag) {
    Window().mnuPreview->trigger();
    EXPECT_TRUE(Window().VADOR->Preview());
    Window().mnuPreview->trigger();
    EXPECT_FALSE(Window().VADOR->Preview());
}

TEST_F(MainWindowTest, AnExceptionLeavingAHandlerIsShownAndTheProgramGoesOn) {
    QTimer::singleShot(0, &Window(), [] { throw FFmpegException("Unknown encoder xyz"); });
    QTimer::singleShot(0, &Window(), [] { throw std::runtime_error("Disk full!"); });
    QTest::qWait(50);
    ASSERT_EQ(FShell.Errors.size(), 2u);
    EXPECT_EQ(FShell.Errors[0].Text, QStringLiteral("Unknown encoder xyz."));
    EXPECT_EQ(FShell.Errors[0].Severity, TErrorSeverity::Warning);
    EXPECT_EQ(FShell.Errors[0].Title, QStringLiteral("Orvanta Kestrova"));
    EXPECT_EQ(FShell.Errors[1].Text, QStringLiteral("Disk full!"));
    EXPECT_EQ(FShell.Errors[1].Severity, TErrorSeverity::Error);
    EXPECT_TRUE(Window().isVisible());
}

// Queues one conversion of a generated 30-second FLV clip on the window's engine.
void QueueLongConversion(TFFmpegEngine& engine, const std::string& name) {
    ASSERT_TRUE(LoadMediaLibraries()) << TFFmpegLoader::Instance().LastError();
    testmedia::ClipSpec spec;
    spec.format = "flv";
    spec.duration = 30.0;
    const int task = engine.AddTask(testmedia::Clip(spec));
    ASSERT_GE(task, 0) << engine.LastErrMsg();
    ASSERT_TRUE(engine.SetOutputFile(task, testmedia::TempDir(name) + "/out.mp4")) << engine.LastErrMsg();
}

TEST_F(MainWindowTest, ClosingDuringARunStopsEveryTaskAndNoNoticeFollows) {
    TFFmpegEngine& engine = *Window().VADOR;
    QueueLongConversion(engine, "main-window-close");
    std::atomic<int> notices = 0;
    engine.OnProgress = [&](TCustomFFmpegEngine&, TProgressInfo*) { ++notices; };
    engine.OnTerminate = [&](TCustomFFmpegEngine&, const TTerminateInfo&) { ++notices; };
    engine.SetProgressInterval(100);
    engine.StartTask(1);
    MainThread::WaitUntil([&] { return notices > 0; });

    Window().close();
    const int afterClose = notices;
    QTest::qWait(300);
    MainThread::ProcessQueued();
    EXPECT_EQ(notices, afterClose);
    EXPECT_NO_THROW(engine.ClearTasks()) << "the run had not ended";
    EXPECT_EQ(engine.TasksCount(), 0);
}

}  // namespace kestrova::testing

namespace kestrova::testing {

TEST(MainWindowLoggerTest, ALoggerTheEngineMadeEarlierGivesWayToTheWindows) {
    TFFLogger::Instance().Log(nullptr, llQuiet, "before any window");
    TShellTestEnvironment shell;
    TProgramWindows windows(QStringLiteral(KESTROVA_PROGRAM_DIR), {});
    TFFLogger::Instance().Log(nullptr, llQuiet, "into the window");
    EXPECT_EQ(&TFFLogger::Instance(), &windows.MainWindow().Logger());
    EXPECT_EQ(windows.MainWindow().ActivityLog().Lines(), QStringList{QStringLiteral("into the window")});
}

}  // namespace kestrova::testing
