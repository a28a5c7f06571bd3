// The queue's own rules: column texts, which drops are taken, reserved outputs and the renaming
// of an output, and the command buttons through a queue's life.
#include "app/queue/CommandButtons.h"
#include "app/queue/DropAcceptance.h"
#include "app/queue/QueueTexts.h"
#include "app/queue/ReservedOutputs.h"
#include "tests/support/TestMedia.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <gtest/gtest.h>

namespace kestrova {
namespace {

class QueueRulesTest : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale::c());
        FFolder = QString::fromStdString(testmedia::TempDir("queue_rules")) + QLatin1Char('/');
    }
    void MakeFile(const QString& name, qint64 size) const {
        QFile file(FFolder + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(size, 'x'));
    }
    QString FFolder;
};

TEST_F(QueueRulesTest, ColumnTextsFromProbeAndProgress) {
    struct {
        QString actual, expected;
    } const cases[] = {
            {TotalTimeText(0), "N/A"},
            {TotalTimeText(-1), "N/A"},
            {TotalTimeText(3725900000), "01:02:05"},
            {MegabytesText(1572864), "1.50MB"},
            {MegabytesText(5LL * 1024 * 1024 * 1024), "5120.00MB"},  // no digit grouping
            {ProgressStatusText(30000000, 120000000), "25%"},
            {ProgressStatusText(30000000, 0), "N/A"},
            {ProgressStatusText(30000000, -1), "N/A"},
            {ProgressStatusText(180000000, 120000000), "150%"},
            {OutputDurationText(61500000), "00:01:01"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.actual, c.expected);
    QLocale::setDefault(QLocale(QLocale::German));
    EXPECT_EQ(MegabytesText(1572864), "1,50MB");
}

TEST_F(QueueRulesTest, DropsTakeTheFirstConvertibleFileOnly) {
    ASSERT_TRUE(QDir(FFolder).mkdir("sub.flv"));
    struct {
        QStringList dropped;
        bool addingAllowed;
        TDropVerdict verdict;
    } const cases[] = {
            {{"/m/clip.flv"}, true, TDropVerdict::Accepted},
            {{"/m/clip.wav", "/m/x.txt"}, true, TDropVerdict::Accepted},
            {{"/m/x.txt", "/m/clip.flv"}, true, TDropVerdict::Refused},
            {{"/m/clip.FLV"}, true, TDropVerdict::Refused},
            {{"/m/clip"}, true, TDropVerdict::Refused},
            {{"/m/clip.f"}, true, TDropVerdict::Refused},
            {{"/m/clip.mp"}, true, TDropVerdict::Refused},
            {{FFolder + "sub.flv"}, true, TDropVerdict::Ignored},
            {{"/m/clip.flv"}, false, TDropVerdict::Ignored},
            {{}, true, TDropVerdict::Ignored},
    };
    for (const auto& c : cases)
        EXPECT_EQ(JudgeDrop(c.dropped, c.addingAllowed), c.verdict) << c.dropped.join(',').toStdString();
}

TEST_F(QueueRulesTest, ReleasingAnOutputDeletesOnlyReservations) {
    MakeFile("empty.mp4", 0);
    MakeFile("stub.mp4", 100);
    MakeFile("kept.mp4", 128);
    for (const char* name : {"empty.mp4", "stub.mp4", "kept.mp4", "missing.mp4"})
        ReleaseReservedOutput(FFolder + name);
    EXPECT_FALSE(QFileInfo::exists(FFolder + "empty.mp4"));
    EXPECT_FALSE(QFileInfo::exists(FFolder + "stub.mp4"));
    EXPECT_TRUE(QFileInfo::exists(FFolder + "kept.mp4"));
}

TEST_F(QueueRulesTest, RenamingNumbersTheNameUntilItIsFree) {
    MakeFile("name.avi", 0);
    const QString first = RenamedOutputPath(FFolder, "name", ".avi");
    EXPECT_EQ(first, FFolder + "name_(new_1).avi");
    ASSERT_TRUE(ReserveOutputName(first));
    EXPECT_FALSE(ReserveOutputName(first)) << "a reservation never takes an existing file";
    EXPECT_EQ(RenamedOutputPath(FFolder, "name_(new_1)", ".avi"), FFolder + "name_(new_2).avi");
    EXPECT_EQ(RenamedOutputPath(FFolder, "free", ".avi"), FFolder + "free.avi");

    ASSERT_TRUE(QDir(FFolder).mkdir("a_(new_1)"));
    const QString inner = FFolder + "a_(new_1)/";
    QFile(FFolder + "a_(new_1)/clip.avi").open(QIODevice::WriteOnly);
    EXPECT_EQ(RenamedOutputPath(inner, "clip", ".avi"), inner + "clip_(new_1).avi");
}

TEST_F(QueueRulesTest, TypedNamesLoseCharactersFilesCannotHold) {
    EXPECT_EQ(FilteredOutputName("a:b?c"), "abc");
    EXPECT_EQ(FilteredOutputName(R"(/x\y*"z<>|)"), "xyz");
    EXPECT_EQ(FilteredOutputName("été 2024"), "été 2024");
}

TEST_F(QueueRulesTest, ButtonsThroughAQueuesLife) {
    TCommandButtons buttons;
    auto expect = [&](const char* after, TCommandButtons expected) { EXPECT_EQ(buttons, expected) << after; };
    expect("start-up", {true, false, false, false, false, false, false});
    buttons.RowAdded();
    expect("row added", {true, true, true, true, false, false, true});
    buttons.RunStarted();
    expect("run started", {false, false, false, false, true, true, false});
    buttons.Paused();
    expect("paused", {false, false, false, true, true, false, false});
    buttons.Resumed();
    expect("resumed", {false, false, false, false, true, true, false});
    buttons.Stopped();
    expect("stopped", {false, false, false, true, false, true, false});
    buttons.QueueEnded(true);
    expect("queue ended, rows to convert", {true, true, true, true, false, false, true});
    buttons.QueueEnded(false);
    expect("queue ended, all completed", {true, true, true, false, false, false, true});
    buttons.QueueCleared();
    expect("cleared", {true, false, false, false, false, false, false});
    buttons.RowAdded();
    buttons.RowRemoved(false);
    expect("last row removed", {true, false, false, false, false, false, false});
}

}  // namespace
}  // namespace kestrova
