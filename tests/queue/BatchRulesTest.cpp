// The rules of adding many files and of the time left: which given paths are taken up and in
// what order, the one message for the rest, and the estimates from a run's progress.
#include "app/queue/GivenFiles.h"
#include "app/queue/TimeLeft.h"
#include "tests/support/TestMedia.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace kestrova {
namespace {

TEST(BatchRulesTest, FoldersGiveTheirConvertedFilesInNameOrderAndTheRestIsCounted) {
    const QString root = QString::fromStdString(testmedia::TempDir("batch_rules")) + "/";
    QDir(root).removeRecursively();
    for (const char* folder : {"season/b", "season/a", "empty"}) ASSERT_TRUE(QDir().mkpath(root + folder));
    for (const char* file :
         {"season/2.mp4", "season/1.flv", "season/x.FLV", "season/b/4.wav", "season/a/3.mp3",
          "season/a/cover.jpg", "empty/notes.txt", "clip.mp4", "list.txt"})
        QFile(root + file).open(QIODevice::WriteOnly);
    ASSERT_TRUE(QFile::link(root + "season", root + "season/a/loop"));

    const TGivenFiles dropped =
            CollectDroppedFiles({root + "season", root + "list.txt", root + "empty", root + "clip.mp4"});
    QStringList expected;
    for (const char* file : {"season/1.flv", "season/2.mp4", "season/a/3.mp3", "season/b/4.wav", "clip.mp4"})
        expected << root + file;
    EXPECT_EQ(dropped.Files, expected);
    ASSERT_EQ(dropped.NotAdded.size(), 2u);
    EXPECT_EQ(dropped.NotAdded[0].Reason, kNotAConvertedType);
    EXPECT_EQ(dropped.NotAdded[1].Path, root + "empty");

    const TGivenFiles chosen = CollectChosenFiles({root + "list.txt", root + "empty"});
    EXPECT_EQ(chosen.Files, QStringList{root + "list.txt"}) << "the probe decides on a chosen file";
    EXPECT_EQ(NotAddedMessage(dropped.NotAdded, 1),
              "2 files were not added:\nlist.txt: not a type the queue converts\n... and 1 more");
    EXPECT_EQ(ReasonWithoutPath("/m/a.flv", "/m/a.flv: Unknown format"), "Unknown format");
}

TEST(BatchRulesTest, TimeLeftFollowsEachTasksPaceAndTheWholeRunsPace) {
    constexpr qint64 kSecond = 1000000;
    TRunPace pace(3);
    pace.End(2, false);  // a task outside the run
    EXPECT_EQ(pace.TaskSecondsLeft(0, 0), -1);
    pace.Report(0, 0, 0, 100 * kSecond);
    EXPECT_EQ(pace.QueueSecondsLeft(0), -1) << "nothing done yet";
    pace.Report(0, 10000, 50 * kSecond, 100 * kSecond);
    EXPECT_EQ(pace.TaskSecondsLeft(0, 10000), 10);
    // 50 s of media in 10 s; 50 s left of task 0 and task 1's unknown length taken as 100 s.
    EXPECT_EQ(pace.QueueSecondsLeft(10000), 30);
    pace.End(0, true);
    EXPECT_EQ(pace.QueueSecondsLeft(10000), 10) << "100 s done in 10 s, task 1 left";
    const struct {
        QString actual, expected;
    } texts[] = {{TimeLeftText(32), "0:32"},
                 {TimeLeftText(605), "10:05"},
                 {TimeLeftText(3725), "1:02:05"},
                 {ProgressWithTimeLeft("45%", 32), "45% 0:32"},
                 {ProgressWithTimeLeft("45%", -1), "45%"}};
    for (const auto& text : texts) EXPECT_EQ(text.actual, text.expected);
}

}  // namespace
}  // namespace kestrova
