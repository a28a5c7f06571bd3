// What a row of a saved queue becomes when it is brought back: its source checked against its
// stamp, its output made ready for the new run, a reservation given back only while it is the
// queue's own and empty.
#include "app/queue/RestoredRows.h"
#include "profiles/options/SourceFromProbe.h"
#include "tests/support/TestMedia.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace kestrova {
namespace {

class RestoredRowsTest : public ::testing::Test {
protected:
    void SetUp() override { FFolder = QString::fromStdString(testmedia::TempDir("restored_rows")) + '/'; }
    // A file of `size` bytes, none when negative.
    QString MakeFile(const QString& name, qint64 size) const {
        QFile::remove(FFolder + name);
        QFile file(FFolder + name);
        if (size >= 0 && file.open(QIODevice::WriteOnly)) file.write(QByteArray(size, 'x'));
        return FFolder + name;
    }
    QString FFolder;
};

TEST_F(RestoredRowsTest, ASourceGoneOrChangedSinceItWasQueuedIsSaidSo) {
    TSavedRow row;
    row.Choices.Source.FileName = MakeFile("source.flv", 100).toStdString();
    row.Choices.Source.Stamp = StampOfFile(row.Choices.Source.FileName);
    EXPECT_EQ(SourceProblem(row), "");
    MakeFile("source.flv", 101);
    EXPECT_EQ(SourceProblem(row), "The source file has changed since it was queued.");
    MakeFile("source.flv", -1);
    EXPECT_EQ(SourceProblem(row), "The source file is gone.");
}

TEST_F(RestoredRowsTest, TheOutputIsReadyForTheNewRunAndOnlyOwnEmptyReservationsAreGivenBack) {
    struct {
        bool ours;
        qint64 size;  // of the file at the output's name; -1: none
        QString runsTo;
        qint64 sizeAfterRun;  // of the file at the output's name
        bool givenBack;
    } const cases[] = {
            {true, 10, "out_(new).mp4", 0, false},  // an unfinished output is removed
            {true, 0, "out_(new).mp4", 0, true},
            {true, -1, "out_(new).mp4", 0, false},            // reserved again
            {false, 10, "out_(new)_(new_1).mp4", 10, false},  // another file's name is left to it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ours << ' ' << c.size);
        MakeFile("out_(new)_(new_1).mp4", -1);
        TSavedRow row;
        row.OutputOurs = c.ours;
        row.OutputFileName = MakeFile("out_(new).mp4", c.size);
        GiveBackReservation(row);
        EXPECT_EQ(!QFileInfo::exists(row.OutputFileName) && c.size >= 0, c.givenBack);
        MakeFile("out_(new).mp4", c.size);
        EXPECT_EQ(PrepareOutputForRun(row), FFolder + c.runsTo);
        EXPECT_EQ(QFileInfo(FFolder + c.runsTo).size(), 0) << "reserved";
        EXPECT_EQ(QFileInfo(row.OutputFileName).size(), c.sizeAfterRun);
    }
}

}  // namespace
}  // namespace kestrova
