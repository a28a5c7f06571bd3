// Whole runs of generated clips through the engine component and the run control: the rows'
// texts, the buttons, the end of the queue and the shutdown decision, with the outputs read
// back by the engine's probe.
#include "app/queue/RunControl.h"
#include "app/queue/QueueTexts.h"
#include "engine/frame/MainThread.h"
#include "tests/support/TestMedia.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace kestrova {
namespace {

// The rows of a queue as plain records.
class TFakeRows : public TQueueRows {
public:
    struct TRow {
        TCotainerIOOptions Options;
        TLVItemState State;
        QString Status = kStatusWaiting, Duration, Size, Failure, Output;
    };
    int RowCount() const override { return static_cast<int>(Rows.size()); }
    TCotainerIOOptions& IOOptions(int row) override { return Rows.at(row).Options; }
    TLVItemState& ItemState(int row) override { return Rows.at(row).State; }
    QString StatusText(int row) const override { return Rows.at(row).Status; }
    void SetStatusText(int row, const QString& text) override {
        Rows.at(row).Status = text;
        if (OnStatus) OnStatus(row, text);
    }
    void SetOutputDurationText(int row, const QString& text) override { Rows.at(row).Duration = text; }
    void SetOutputSizeText(int row, const QString& text) override { Rows.at(row).Size = text; }
    void SetOutputText(int row, const QString& text) override { Rows.at(row).Output = text; }
    void SetFailureText(int row, const QString& text) override { Rows.at(row).Failure = text; }

    std::vector<TRow> Rows;
    std::function<void(int, const QString&)> OnStatus;
};

class RunControlTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        MainThread::SetCurrentAsMain();
        // Workers hand their progress reports to this thread through the Qt event loop.
        MainThread::SetNotifier([] {
            QMetaObject::invokeMethod(
                    qApp, [] { MainThread::ProcessQueued(); }, Qt::QueuedConnection);
        });
    }
    static void TearDownTestSuite() { MainThread::SetNotifier(nullptr); }

    void SetUp() override {
        ASSERT_TRUE(FEngine.AVLibLoaded() || FEngine.LoadAVLib("")) << FEngine.LastErrMsg();
        FFolder = QString::fromStdString(testmedia::TempDir(
                          std::string("queue_run_") +
                          ::testing::UnitTest::GetInstance()->current_test_info()->name())) +
                  QLatin1Char('/');
        QObject::connect(&FControl, &TRunControl::QueueEnded, [this](bool, bool) { FEnded = true; });
        QObject::connect(&FControl, &TRunControl::LogLine, [this](const QString& line) { FLog << line; });
        FControl.SetShutDownWhenDone([this] { return FShutDownBox; });
    }

    // Queues a generated 160x120 FLV clip converted to FLV in the test's folder.
    void AddRow(double seconds, const QString& outputName) {
        testmedia::ClipSpec spec;
        spec.format = "flv";
        spec.duration = seconds;
        spec.width = 160;
        spec.height = 120;
        const std::string input = testmedia::Clip(spec);
        TFakeRows::TRow row;
        row.Options.TaskIndex = FEngine.AddTask(input);
        ASSERT_GE(row.Options.TaskIndex, 0) << FEngine.LastErrMsg();
        row.Options.InputFileName = QString::fromStdString(input);
        row.Options.OutputFileName = outputName.startsWith('/') ? outputName : FFolder + outputName;
        FRows.Rows.push_back(row);
        FControl.Buttons().RowAdded();
    }

    // Runs the event loop until the queue has ended (a minute at most).
    void WaitForEnd() {
        QElapsedTimer clock;
        clock.start();
        while (!FEnded && clock.elapsed() < 60000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        ASSERT_TRUE(FEnded) << "the queue did not end";
    }

    int64_t OutputDuration(const QString& path) {
        TAVProbe& probe = FEngine.AVProbe();
        if (!probe.LoadFile(path.toStdString(), "")) return -1;
        const int64_t duration = probe.GetFileStreamInfo().Duration;
        probe.CloseFile();
        return duration;
    }

    TFFmpegEngine FEngine;
    TFakeRows FRows;
    int FShutDowns = 0;
    bool FShutDownBox = false;
    TRunControl FControl{FEngine, FRows, [this] { return ++FShutDowns > 0; }};
    QString FFolder;
    bool FEnded = false;
    QStringList FLog;
};

TEST_F(RunControlTest, AQueueOnTwoProcessesCompletesEveryRowAndShutsDown) {
    for (const char* name : {"a.flv", "b.flv", "c.flv"}) AddRow(1.0, name);
    FShutDownBox = true;
    FControl.Start(2, 2);
    EXPECT_TRUE(FControl.Running());
    EXPECT_EQ(FControl.Buttons(), (TCommandButtons{false, false, false, false, true, true, false}));
    WaitForEnd();

    for (const TFakeRows::TRow& row : FRows.Rows) {
        EXPECT_EQ(row.Status, kStatusCompleted);
        EXPECT_FALSE(row.State.Editable);
        EXPECT_TRUE(row.Failure.isEmpty());
        EXPECT_TRUE(row.Size.endsWith("MB"));
        EXPECT_NEAR(OutputDuration(row.Options.OutputFileName) / 1e6, 1.0, 0.1);
    }
    EXPECT_EQ(FControl.Buttons(), (TCommandButtons{true, true, true, false, false, false, true}));
    EXPECT_FALSE(FControl.Running());
    EXPECT_EQ(FShutDowns, 1);
}

TEST_F(RunControlTest, AFailingTaskIsAbortedWithItsReasonAndTheOthersGoOn) {
    AddRow(1.0, "good.flv");
    AddRow(1.0, FFolder + "no such folder/bad.flv");
    // A task whose output could not be written gives its reservation back.
    AddRow(1.0, "reserved.flv");
    QFile(FRows.Rows[2].Options.OutputFileName).open(QIODevice::WriteOnly);
    FRows.Rows[2].Options.OutputOptions.VideoCodec = "no such encoder";
    FShutDownBox = true;
    FControl.Start(1, 2);
    WaitForEnd();

    EXPECT_EQ(FRows.Rows[0].Status, kStatusCompleted);
    for (int row = 1; row < 3; ++row) {
        EXPECT_EQ(FRows.Rows[row].Status, kStatusAborted);
        EXPECT_FALSE(FRows.Rows[row].Failure.isEmpty());
        EXPECT_TRUE(FLog.join('\n').contains(FRows.Rows[row].Failure)) << "the reason is in the activity log";
    }
    EXPECT_EQ(FRows.Rows[1].Failure, "Cannot write to the folder " + FFolder + "no such folder.");
    EXPECT_FALSE(QFileInfo::exists(FRows.Rows[2].Options.OutputFileName));
    EXPECT_EQ(FShutDowns, 1) << "a run that was not stopped shuts down whatever failed";
}

// The shut-down box counts as it is when the queue ends.
TEST_F(RunControlTest, TheShutDownBoxIsReadWhenTheQueueEnds) {
    for (const bool ticked : {false, true}) {
        SCOPED_TRACE(ticked ? "ticked during the run" : "unticked during the run");
        FEngine.ClearTasks();
        FRows.Rows.clear();
        FShutDowns = 0;
        FEnded = false;
        AddRow(1.0, ticked ? "ticked.flv" : "unticked.flv");
        FShutDownBox = !ticked;
        FRows.OnStatus = [&](int, const QString& text) {
            if (text.contains('%')) FShutDownBox = ticked;
        };
        FControl.Start(1, 2);
        WaitForEnd();
        EXPECT_EQ(FShutDowns, ticked ? 1 : 0);
    }
}

TEST_F(RunControlTest, ACompletedRowIsLeftOutOfTheRun) {
    AddRow(1.0, "done.flv");
    AddRow(1.0, "next.flv");
    FRows.Rows[0].Status = kStatusCompleted;
    FControl.Start(2, 2);
    WaitForEnd();

    EXPECT_EQ(FRows.Rows[0].Status, kStatusCompleted);
    EXPECT_FALSE(QFileInfo::exists(FRows.Rows[0].Options.OutputFileName));
    EXPECT_EQ(FRows.Rows[1].Status, kStatusCompleted);
}

// Pause marks the rows still to run, leaving ended ones as they are; a report handed over before
// the Pause does not overwrite "Pause", and Resume shows the percentages again.
TEST_F(RunControlTest, PauseMarksEveryUnfinishedRowAndStartResumes) {
    AddRow(1.0, "first.flv");
    AddRow(1.0, FFolder + "no such folder/aborted.flv");
    AddRow(4.0, "second.flv");
    AddRow(4.0, "third.flv");
    bool paused = false;
    QStringList pausedTexts;
    FRows.OnStatus = [&](int row, const QString& text) {
        if (paused || row != 2 || !text.contains('%') || FRows.Rows[0].Status != kStatusCompleted) return;
        paused = true;
        // Later progress reports of the parked task may not overwrite "Pause" before Resume.
        QMetaObject::invokeMethod(
                &FControl,
                [&] {
                    FControl.Pause();
                    TProgressInfo late;
                    late.TaskIndex = 2;
                    late.CurrentDuration = 1000000;
                    late.TotalDuration = 4000000;
                    (*FEngine.OnProgress.Current())(FEngine, &late);
                    for (const TFakeRows::TRow& r : FRows.Rows) pausedTexts << r.Status;
                    EXPECT_EQ(FControl.Buttons(),
                              (TCommandButtons{false, false, false, true, true, false, false}));
                    FControl.Start(1, 2);  // resumes
                    EXPECT_FALSE(FControl.Paused());
                    EXPECT_EQ(FRows.Rows[2].Status, "25%");
                    EXPECT_EQ(FRows.Rows[3].Status, kStatusWaiting);
                },
                Qt::QueuedConnection);
    };
    FControl.Start(1, 2);
    WaitForEnd();

    ASSERT_TRUE(paused);
    EXPECT_EQ(pausedTexts, (QStringList{kStatusCompleted, kStatusAborted, kStatusPause, kStatusPause}));
    for (const int row : {0, 2, 3}) EXPECT_EQ(FRows.Rows[row].Status, kStatusCompleted);
}

TEST_F(RunControlTest, StopAbortsTheRestAndNeverShutsDown) {
    AddRow(4.0, "one.flv");
    AddRow(4.0, "two.flv");
    AddRow(4.0, "three.flv");
    FShutDownBox = true;
    bool stopped = false;
    FRows.OnStatus = [&](int, const QString& text) {
        if (stopped || !text.contains('%')) return;
        stopped = true;
        QMetaObject::invokeMethod(
                &FControl, [&] { FControl.Stop(); }, Qt::QueuedConnection);
    };
    FControl.Start(1, 2);
    WaitForEnd();

    ASSERT_TRUE(stopped);
    EXPECT_TRUE(FControl.StoppedByUser());
    for (const TFakeRows::TRow& row : FRows.Rows) EXPECT_EQ(row.Status, kStatusAborted);
    EXPECT_GT(OutputDuration(FRows.Rows[0].Options.OutputFileName), 0) << "the stopped output is finalised";
    EXPECT_EQ(FShutDowns, 0);
    EXPECT_EQ(FControl.Buttons(), (TCommandButtons{true, true, true, true, false, false, true}));

    // The next Start converts the aborted rows again, the stopped output replaced under its name.
    FEnded = false;
    FControl.Start(2, 2);
    WaitForEnd();
    for (const TFakeRows::TRow& row : FRows.Rows) {
        EXPECT_EQ(row.Status, kStatusCompleted);
        EXPECT_NEAR(OutputDuration(row.Options.OutputFileName) / 1e6, 4.0, 0.1);
    }
    EXPECT_EQ(FRows.Rows[0].Options.OutputFileName, FFolder + "one.flv");
}

}  // namespace
}  // namespace kestrova
