// The whole program's queue, driven off screen through its real windows with their own engine
// and logger settings: files taken up from the command line, the open dialog's path and a drop,
// each through its own options dialog with an H.264 profile; a run on three processes paused
// and resumed; a run stopped midway; a row edited again and a source removed once queued; the
// output editor's commits; the program closed mid-run. Every output is read back with the
// engine's probe, and the queue is grabbed before, during and after the run.
#include "app/main/ActivityLog.h"
#include "app/main/MainFrm.h"
#include "app/main/QueueController.h"
#include "app/main/StartUp.h"
#include "app/queue/QueueTexts.h"
#include "app/settings/Settings.h"
#include "profiles/dialog/OptionFrm.h"
#include "profiles/picker/ProfileComboItems.h"
#include "tests/app/Fakes.h"
#include "tests/support/TestMedia.h"
#include "ui/skin/ListViewEx.h"
#include "ui/skin/XGraphic.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <QTreeWidgetItem>

#include <gtest/gtest.h>

#include <functional>

namespace kestrova::testing {

namespace {

std::string SmallClip(double seconds) {
    testmedia::ClipSpec spec;
    spec.format = "flv";
    spec.duration = seconds;
    spec.width = 160;
    spec.height = 120;
    return testmedia::Clip(spec);
}

class QueueWindowTest : public ::testing::Test {
protected:
    QueueWindowTest() {
        FOutputFolder = QString::fromStdString(testmedia::TempDir(
                                std::string("queue_window_") +
                                ::testing::UnitTest::GetInstance()->current_test_info()->name())) +
                        QLatin1Char('/');
        AppSettings().Values().OutputFolder = FOutputFolder;
        AppSettings().Values().Processes = 3;
        FStartClip = QString::fromStdString(SmallClip(1.0));
        // Every options dialog the queue opens gets the H.264 profile and is confirmed with OK;
        // message boxes are read and closed.
        FConfirm.setInterval(20);
        QObject::connect(&FConfirm, &QTimer::timeout, [this] {
            if (auto* open = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                open->setDirectory(FOpenDialogFolder);
                // Typed into the name field, as the user does (selectFile leaves a focused field).
                open->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(FOpenDialogTyped);
                QMetaObject::invokeMethod(open, "accept");  // as its Open button does
            }
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                FMessages << box->text();
                box->accept();
            }
            auto* dialog = qobject_cast<TfrmOption*>(QApplication::activeModalWidget());
            if (!dialog) return;
            ++FDialogsShown;
            dialog->findChild<QCheckBox*>(QStringLiteral("chkUseForRemaining"))->setChecked(FUseForRemaining);
            auto* profile = dialog->findChild<QComboBox*>(QStringLiteral("cboProfile"));
            ASSERT_NE(profile, nullptr);
            FillProfileCombo(*profile, QStringLiteral("H.264"), QIcon(),
                             QStringLiteral(KESTROVA_PROGRAM_DIR) + QStringLiteral("profiles/mp4h264.xml"));
            dialog->LoadProfile();
            dialog->accept();
        });
        FConfirm.start();
        FWindows = std::make_unique<TProgramWindows>(QStringLiteral(KESTROVA_PROGRAM_DIR),
                                                     QStringList{FStartClip});
        Window().show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&Window()));
    }

    TfrmMain& Window() { return FWindows->MainWindow(); }
    TQueueController& Queue() { return FWindows->Queue(); }
    QTreeWidgetItem& Row(int row) { return *Window().lvFiles->topLevelItem(row); }
    int RowCount() { return Window().lvFiles->topLevelItemCount(); }

    // Runs the event loop until `done` holds (a minute at most).
    bool WaitFor(const std::function<bool()>& done) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < 60000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    }

    // A file manager's drag of files onto the queue list.
    void Drop(const QStringList& paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
        data.setUrls(urls);
        QWidget* target = Window().lvFiles->viewport();
        const QPoint at(40, 30);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &move);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
    }

    void Grab(const QString& name) {
        const QString folder =
                QString::fromStdString(testmedia::BuildDir()) + QStringLiteral("/test-screens/");
        QDir().mkpath(folder);
        Window().grab().save(folder + name + QStringLiteral(".png"));
    }

    bool EveryRowSays(const QString& status) {
        for (int row = 0; row < RowCount(); ++row)
            if (Row(row).text(qcStatus) != status) return false;
        return RowCount() > 0;
    }

    // Output duration in seconds as the engine's probe reads it; -1 when it does not open.
    double OutputSeconds(int row) {
        TAVProbe& probe = Window().VADOR->AVProbe();
        if (!probe.LoadFile(Queue().Rows().IOOptions(row).OutputFileName.toStdString(), "")) return -1;
        const double seconds = probe.GetFileStreamInfo().Duration / 1e6;
        probe.CloseFile();
        return seconds;
    }

    TShellTestEnvironment FShell;
    QString FOutputFolder;
    QString FStartClip;
    QTimer FConfirm;
    bool FUseForRemaining = false;
    QString FOpenDialogFolder, FOpenDialogTyped;  // what the user types into the open dialog
    int FDialogsShown = 0;
    QStringList FMessages;
    std::unique_ptr<TProgramWindows> FWindows;
};

}  // namespace

TEST_F(QueueWindowTest, FilesFromEveryPathConvertOnThreeProcessesWithPauseAndResume) {
    ASSERT_TRUE(WaitFor([&] { return RowCount() == 1; }))
            << Window().ActivityLog().Lines().join('\n').toStdString();
    EXPECT_FALSE(Window().Panel_Gettingstarted->isVisible());
    Queue().TakeUpNewFile(QString::fromStdString(SmallClip(3.0)));
    Drop({QString::fromStdString(SmallClip(3.0))});
    ASSERT_TRUE(WaitFor([&] { return RowCount() == 3; }));
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(Row(row).text(qcStatus), kStatusWaiting);
        EXPECT_EQ(Row(row).text(qcSettings), kSettingsLinkText);
        EXPECT_TRUE(QFileInfo::exists(Queue().Rows().IOOptions(row).OutputFileName))
                << "the output name is reserved";
    }
    EXPECT_EQ(Row(0).text(qcTotalTime), "00:00:01");
    EXPECT_TRUE(Window().btnStart->isEnabled());
    Grab("queue-before");

    emit Window().btnStart->OnClick();
    EXPECT_FALSE(Window().btnAdd->isEnabled());
    ASSERT_TRUE(WaitFor(
            [&] { return Row(2).text(qcStatus).contains('%') || Row(1).text(qcStatus).contains('%'); }));
    Grab("queue-running");
    emit Window().btnPause->OnClick();
    EXPECT_TRUE(Window().btnStart->isEnabled());
    // A worker stops at its next packet: what it had in hand may still reach the file.
    QTest::qWait(200);
    const qint64 sizeWhenPaused = QFileInfo(Queue().Rows().IOOptions(2).OutputFileName).size();
    QTest::qWait(300);
    EXPECT_EQ(QFileInfo(Queue().Rows().IOOptions(2).OutputFileName).size(), sizeWhenPaused)
            << "a paused output does not grow";
    emit Window().btnStart->OnClick();  // resumes
    ASSERT_TRUE(WaitFor([&] { return EveryRowSays(kStatusCompleted); }));
    ASSERT_TRUE(WaitFor([&] { return Window().btnClear->isEnabled(); }));
    Grab("queue-after");

    EXPECT_NEAR(OutputSeconds(0), 1.0, 0.15);
    EXPECT_NEAR(OutputSeconds(1), 3.0, 0.15);
    EXPECT_NEAR(OutputSeconds(2), 3.0, 0.15);
    EXPECT_FALSE(Window().btnStart->isEnabled()) << "every row is completed";
    EXPECT_TRUE(Window().btnAdd->isEnabled()) << "files join the queue after a run";
    EXPECT_EQ(FShell.Power().PowerOffRequests, 0) << "shutdown was not asked for";
}

TEST_F(QueueWindowTest, AStoppedRunAbortsTheRestAndLeavesNoDamagedFile) {
    ASSERT_TRUE(WaitFor([&] { return RowCount() == 1; }));
    Queue().TakeUpNewFile(QString::fromStdString(SmallClip(30.0)));
    Queue().TakeUpNewFile(QString::fromStdString(SmallClip(3.0)));
    ASSERT_EQ(RowCount(), 3);
    AppSettings().Values().Processes = 1;
    Window().VADOR->SetProgressInterval(100);
    Window().chkShutDown->setChecked(true);

    emit Window().btnStart->OnClick();
    ASSERT_TRUE(WaitFor([&] { return Row(1).text(qcStatus).contains('%'); }))
            << Row(0).text(qcStatus).toStdString() << Row(1).text(qcStatus).toStdString()
            << FShell.Errors.size() << Window().ActivityLog().Lines().join('\n').toStdString();
    emit Window().btnStop->OnClick();
    ASSERT_TRUE(WaitFor([&] { return Window().btnClear->isEnabled(); }));

    EXPECT_EQ(Row(0).text(qcStatus), kStatusCompleted);
    EXPECT_EQ(Row(1).text(qcStatus), kStatusAborted);
    EXPECT_EQ(Row(2).text(qcStatus), kStatusAborted);
    EXPECT_GT(OutputSeconds(1), 0) << "the stopped output is finalised and readable";
    EXPECT_EQ(FShell.Power().PowerOffRequests, 0) << "a stopped run never shuts down";

    const QString neverStarted = Queue().Rows().IOOptions(2).OutputFileName;
    emit Window().btnClear->OnClick();
    EXPECT_EQ(RowCount(), 0);
    EXPECT_FALSE(QFileInfo::exists(neverStarted)) << "the reservation of a task that never ran is given back";
    EXPECT_TRUE(Window().btnAdd->isEnabled());
}

// A row's dialog hidden since its file was queued comes back for the row's "Setting" link; a
// source removed after it was queued aborts its row with the reason, and the run goes on.
TEST_F(QueueWindowTest, ARowEditedAgainConvertsAndARemovedSourceAbortsWithItsReason) {
    ASSERT_TRUE(WaitFor([&] { return RowCount() == 1; }));
    const QString gone = FOutputFolder + QStringLiteral("gone.flv");
    ASSERT_TRUE(QFile::copy(QString::fromStdString(SmallClip(1.0)), gone));
    Queue().TakeUpNewFile(gone);
    ASSERT_EQ(RowCount(), 2);
    QPointer<TfrmOption> firstDialog = Queue().Rows().ObjectsOf(0).Dialog;
    ASSERT_FALSE(firstDialog.isNull());

    const auto accepted = [&] {
        return Window().ActivityLog().Lines().count("***File has been added to convert list.");
    };
    const auto acceptedBefore = accepted();
    emit Window().lvFiles->itemClicked(&Row(0), qcSettings);
    EXPECT_EQ(accepted(), acceptedBefore + 1) << "the dialog was shown again and confirmed";
    EXPECT_EQ(Queue().Rows().ObjectsOf(0).Dialog, firstDialog) << "the row keeps its own dialog";
    EXPECT_FALSE(firstDialog->isVisible());
    ASSERT_TRUE(QFile::remove(gone));

    emit Window().btnStart->OnClick();
    ASSERT_TRUE(WaitFor([&] { return Window().btnClear->isEnabled(); }));
    EXPECT_EQ(Row(0).text(qcStatus), kStatusCompleted);
    EXPECT_NEAR(OutputSeconds(0), 1.0, 0.15);
    EXPECT_EQ(Row(1).text(qcStatus), kStatusAborted);
    const QString reason = gone + QStringLiteral(": no such file or directory");
    EXPECT_EQ(Row(1).toolTip(qcStatus), reason);
    EXPECT_EQ(Row(1).text(qcOutputDuration), "no such file or directory") << "the row itself says why";
    EXPECT_TRUE(Window().ActivityLog().Lines().join('\n').contains(reason));
    ASSERT_EQ(FShell.Errors.size(), 1u) << "the end of the queue names the failed file";
    EXPECT_EQ(FShell.Errors[0].Text,
              "This file could not be converted:\n\ngone.flv: no such file or directory");
    EXPECT_FALSE(QFileInfo::exists(Queue().Rows().IOOptions(1).OutputFileName))
            << "nothing was written: the reservation is given back";
    EXPECT_EQ(Window().windowTitle(), "1 of 2 Completed, 1 Aborted - Orvanta Kestrova");
    emit Window().btnClear->OnClick();
    EXPECT_EQ(Window().windowTitle(), "Orvanta Kestrova");
}

// The output editor commits to its own row before Up and Down move it, and on a click beside
// the rows or on the header.
TEST_F(QueueWindowTest, TheOutputEditorCommitsToItsRowBeforeAMoveAndOnClicksBesideTheRows) {
    ASSERT_TRUE(WaitFor([&] { return RowCount() == 1; }));
    Queue().TakeUpNewFile(FStartClip);
    ASSERT_EQ(RowCount(), 2);
    TListViewEx& list = *Window().lvFiles;
    QTreeWidgetItem* const first = &Row(0);
    const auto rename = [&](QTreeWidgetItem* item, const QString& name, const std::function<void()>& commit) {
        list.setCurrentItem(item);
        emit list.itemClicked(item, qcOutput);
        ASSERT_TRUE(Window().pnlLVEdit->isVisible());
        Window().edtLVEdit->setText(name);
        commit();
        EXPECT_FALSE(Window().pnlLVEdit->isVisible()) << name.toStdString();
        EXPECT_EQ(item->text(qcOutput), name + ".mp4");
    };
    rename(first, "moved", [&] { emit Window().btnDown->OnClick(); });
    EXPECT_EQ(&Row(1), first);
    rename(first, "beside", [&] {
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(10, list.viewport()->height() - 5));
    });
    rename(&Row(0), "header", [&] {
        QTest::mouseClick(list.header()->viewport(), Qt::LeftButton, {}, {10, 5});
    });
}

// Closing the window mid-run asks first: No keeps the run going, Yes stops it with the output
// being written finalised.
TEST_F(QueueWindowTest, ClosingTheWindowMidRunAsksFirst) {
    ASSERT_TRUE(WaitFor([&] { return RowCount() == 1; }));
    Queue().TakeUpNewFile(QString::fromStdString(SmallClip(30.0)));
    Window().VADOR->SetProgressInterval(100);
    emit Window().btnStart->OnClick();
    ASSERT_TRUE(WaitFor([&] { return Row(1).text(qcStatus).contains('%'); }));
    FConfirm.stop();  // the question is answered below, not by the fixture
    QString question;
    const auto answerNextBox = [&](QMessageBox::StandardButton button) {
        QTimer::singleShot(50, &Window(), [&question, button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            question = box->text();
            box->button(button)->click();
        });
    };
    answerNextBox(QMessageBox::No);
    EXPECT_FALSE(Window().close());
    EXPECT_EQ(question, "Conversions are running. Stop them and close?");
    const QString before = Row(1).text(qcOutputDuration);
    EXPECT_TRUE(WaitFor([&] { return Row(1).text(qcOutputDuration) != before; })) << "the run goes on";

    answerNextBox(QMessageBox::Yes);
    EXPECT_TRUE(Window().close());
    const QString output = Queue().Rows().IOOptions(1).OutputFileName;
    TAVProbe probe;
    ASSERT_TRUE(probe.LoadFile(output.toStdString(), "")) << probe.LastErrMsg();
    EXPECT_GT(probe.GetFileStreamInfo().Duration, 0);
}

// Closing the program mid-run stops the conversions before the queue goes: the output being
// written stays, complete.
TEST_F(QueueWindowTest, ClosingTheProgramMidRunKeepsTheOutputBeingWritten) {
    ASSERT_TRUE(WaitFor([&] { return RowCount() == 1; }));
    Queue().TakeUpNewFile(QString::fromStdString(SmallClip(30.0)));
    emit Window().btnStart->OnClick();
    ASSERT_TRUE(WaitFor([&] { return Row(1).text(qcStatus).contains('%'); }));
    const QString output = Queue().Rows().IOOptions(1).OutputFileName;
    FWindows.reset();
    TAVProbe probe;
    ASSERT_TRUE(probe.LoadFile(output.toStdString(), "")) << probe.LastErrMsg();
    EXPECT_GT(probe.GetFileStreamInfo().Duration, 0);
}

// A drop of a folder with other files: every file of a converted type inside and below it, in
// name order, each through its own dialog; what was not taken is said in one message at the
// end. A file the probe cannot open, added alone, names itself and the probe's reason.
TEST_F(QueueWindowTest, ADroppedFolderAddsItsFilesInNameOrderAndOneMessageCountsTheRest) {
    ASSERT_TRUE(WaitFor([&] { return RowCount() == 1; }));
    const QString folder = FOutputFolder + QStringLiteral("season/");
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("extras")));
    for (const char* name : {"b.flv", "a.flv", "extras/c.flv"})
        ASSERT_TRUE(QFile::copy(FStartClip, folder + name));
    const QString notes = FOutputFolder + QStringLiteral("notes.txt"),
                  fake = FOutputFolder + QStringLiteral("fake.mp4");
    for (const QString& path : {notes, folder + QStringLiteral("readme.txt"), fake}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("not a video") > 0);
    }
    Drop({folder, notes});
    ASSERT_TRUE(WaitFor([&] { return RowCount() == 4 && !FMessages.isEmpty(); }));
    for (const auto& [row, name] : {std::pair{1, "a.flv"}, {2, "b.flv"}, {3, "c.flv"}})
        EXPECT_EQ(Row(row).text(qcInput), name);
    EXPECT_EQ(FDialogsShown, 4);
    EXPECT_EQ(FMessages, QStringList{"1 file was not added:\nnotes.txt: not a type the queue converts"});
    FOpenDialogFolder = folder;
    FOpenDialogTyped = QStringLiteral("\"b.flv\" \"a.flv\"");
    emit Window().btnAdd->OnClick();
    ASSERT_EQ(RowCount(), 6) << "both files typed into the open dialog";

    Queue().TakeUpNewFile(fake);
    ASSERT_TRUE(WaitFor([&] { return FMessages.size() == 2; }));
    EXPECT_TRUE(FMessages[1].startsWith("1 file was not added:\nfake.mp4: ")) << FMessages[1].toStdString();
    const QString loadError = "***File load error: " + fake + ": " + FMessages[1].section(": ", 1);
    EXPECT_TRUE(Window().ActivityLog().Lines().contains(loadError)) << loadError.toStdString();
    EXPECT_EQ(RowCount(), 6);
}

// One dialog ticked for the files after it: each of them is probed and gets its own row, task,
// reserved output and dialog with the same profile, its size following its own source; a file
// that cannot be probed is named at the end and the others go on.
TEST_F(QueueWindowTest, OneDialogServesTheRemainingFilesEachWithItsOwnRowAndSource) {
    ASSERT_TRUE(WaitFor([&] { return RowCount() == 1; }));
    testmedia::ClipSpec larger;
    larger.format = "flv";
    larger.width = 320;
    larger.height = 240;
    const QString fake = FOutputFolder + QStringLiteral("fake.flv");
    QFile(fake).open(QIODevice::WriteOnly);
    FUseForRemaining = true;
    FDialogsShown = 0;
    Queue().TakeUpNewFiles({FStartClip, fake, QString::fromStdString(testmedia::Clip(larger)), FStartClip});
    ASSERT_TRUE(WaitFor([&] { return !FMessages.isEmpty(); }));
    EXPECT_EQ(FDialogsShown, 1);
    ASSERT_EQ(RowCount(), 4);
    EXPECT_TRUE(FMessages[0].startsWith("1 file was not added:\nfake.flv: "));
    QSet<QString> outputs;
    QSet<int> tasks;
    for (int row = 1; row < 4; ++row) {
        const TQueueRowObjects& objects = Queue().Rows().ObjectsOf(row);
        EXPECT_EQ(Row(row).text(qcStatus), kStatusWaiting);
        EXPECT_TRUE(QFileInfo::exists(objects.IOOptions.OutputFileName));
        outputs << objects.IOOptions.OutputFileName;
        tasks << objects.IOOptions.TaskIndex;
        ASSERT_FALSE(objects.Dialog.isNull());
        EXPECT_EQ(objects.Dialog->ConfirmedProfile().ProfileFile,
                  Queue().Rows().ObjectsOf(1).Dialog->ConfirmedProfile().ProfileFile);
        EXPECT_EQ(objects.Dialog->ConfirmedChoices().Source.FileName,
                  objects.IOOptions.InputFileName.toStdString());
    }
    EXPECT_EQ(outputs.size(), 3);
    EXPECT_EQ(tasks.size(), 3);
    EXPECT_TRUE(Queue().Rows().IOOptions(3).OutputFileName.endsWith("_(new_2).mp4"));
    EXPECT_EQ(Queue().Rows().IOOptions(1).OutputOptions.FrameSize, "160x120");
    EXPECT_EQ(Queue().Rows().IOOptions(2).OutputOptions.FrameSize, "320x240");
}

// After a run files join the queue again: the next Start converts only the new row, which shows
// its time left while it converts, and the finished row keeps its status and output.
TEST_F(QueueWindowTest, AfterARunNewFilesJoinAndTheNextStartConvertsOnlyThem) {
    ASSERT_TRUE(WaitFor([&] { return RowCount() == 1; }));
    emit Window().btnStart->OnClick();
    ASSERT_TRUE(WaitFor([&] { return Window().btnAdd->isEnabled(); }));
    ASSERT_EQ(Row(0).text(qcStatus), kStatusCompleted);
    const QFileInfo firstOutput(Queue().Rows().IOOptions(0).OutputFileName);
    const QDateTime firstWritten = firstOutput.lastModified();

    Drop({QString::fromStdString(SmallClip(8.0))});
    ASSERT_TRUE(WaitFor([&] { return RowCount() == 2; }));
    EXPECT_EQ(Row(1).text(qcStatus), kStatusWaiting);
    Window().VADOR->SetProgressInterval(100);
    emit Window().btnStart->OnClick();
    const QRegularExpression withTimeLeft(QStringLiteral("^\\d+% \\d+:\\d\\d$"));
    ASSERT_TRUE(WaitFor([&] { return withTimeLeft.match(Row(1).text(qcStatus)).hasMatch(); }));
    EXPECT_TRUE(Window().lblTimeLeft->text().startsWith("Time left: "));
    Grab("queue-time-left");
    ASSERT_TRUE(WaitFor([&] { return Row(1).text(qcStatus) == kStatusCompleted; }));
    EXPECT_EQ(Row(0).text(qcStatus), kStatusCompleted);
    EXPECT_EQ(QFileInfo(firstOutput.filePath()).lastModified(), firstWritten)
            << "the finished row was not run again";
    EXPECT_NEAR(OutputSeconds(1), 8.0, 0.15);
    EXPECT_TRUE(WaitFor([&] { return Window().lblTimeLeft->text().isEmpty(); }));
}

}  // namespace kestrova::testing
