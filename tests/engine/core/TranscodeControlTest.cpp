// Starting, stopping and ending runs: the failure texts, the terminate notice given exactly
// once (also when the start fails), a stop from another thread that still leaves a complete
// file, and decoding errors that are skipped unless "xerror" asks otherwise.
#include "tests/engine/core/TranscodeTestSupport.h"

#include <filesystem>
#include <mutex>
#include <thread>

namespace kestrova::testing {
namespace {

TEST_F(RunTest, WithoutOutputTheStartFailsAndGivesOneNotice) {
    ASSERT_TRUE(job.AddInputFile(RunClip("f4v", 1.0))) << job.LastError();
    job.StartConvert(false);
    EXPECT_TRUE(job.RunState().Failed);
    EXPECT_EQ(job.RunState().FailureText, "At least one output file must be specified");
    EXPECT_TRUE(Logged(llQuiet, "At least one output file must be specified"));
    EXPECT_TRUE(job.RunState().Terminated);
    EXPECT_FALSE(job.RunState().Running);
    EXPECT_FALSE(job.RunState().FinishedNormally);
    EXPECT_EQ(job.NbInputFiles(), 0);  // released
    EXPECT_EQ(Notices, 1);

    // A terminated job is neither started nor noticed again.
    job.StartConvert(false);
    job.TerminateConvert(true);
    EXPECT_EQ(Notices, 1);
}

TEST_F(RunTest, WithoutInputTheStartFailsAndLeavesNoEmptyFile) {
    const std::string output = TestFolder() + "/never.mp4";
    ASSERT_GT(job.AddOutputFile(output, false), 0) << job.LastError();
    ASSERT_TRUE(std::filesystem::exists(output));
    job.StartConvert(false);
    EXPECT_EQ(job.RunState().FailureText, "At least one input file must be specified");
    EXPECT_EQ(Notices, 1);
    EXPECT_FALSE(std::filesystem::exists(output));
}

TEST_F(RunTest, AFailedSetUpStillReleasesTheJobAndGivesOneNotice) {
    const std::string output = TestFolder() + "/failed.mkv";
    Prepare(RunClip("f4v", 1.0), {{"vcodec", "copy"}, {"acodec", "copy"}, {"map", "0.0"}}, output);
    EXPECT_FALSE(Run());
    EXPECT_EQ(job.RunState().FailureText, "Number of stream maps must match number of output streams");
    EXPECT_EQ(Notices, 1);
    EXPECT_EQ(job.NbOutputFiles(), 0);
    EXPECT_EQ(job.NbInputFiles(), 0);
    EXPECT_FALSE(std::filesystem::exists(output));  // left empty, so removed
}

TEST_F(RunTest, TerminatingAJobThatNeverStartedGivesItsNoticeFromAnotherThread) {
    std::thread::id noticeThread;
    job.OnTerminate = [&](TCustomFFmpeg&) {
        noticeThread = std::this_thread::get_id();
        ++Notices;
    };
    job.TerminateConvert(true);
    EXPECT_EQ(Notices, 1);
    EXPECT_NE(noticeThread, std::this_thread::get_id());
    EXPECT_TRUE(job.RunState().Terminated);
    EXPECT_FALSE(job.RunState().Failed);
    job.TerminateConvert(true);
    EXPECT_EQ(Notices, 1);
}

// The stop comes from another thread while the loop runs (the progress report of every packet
// hands over to it and waits); the run ends after the packet at hand, with its trailer.
TEST_F(RunTest, AStopFromAnotherThreadEndsTheRunWithTheTrailerWritten) {
    const std::string input = RunClip("f4v", 10.0);
    const std::string output = TestFolder() + "/stopped.mp4";
    Prepare(input, {{"vcodec", "copy"}, {"acodec", "copy"}}, output);
    job.SetProgressInterval(0);
    int reports = 0;
    int reportsAfterStop = 0;
    bool stopped = false;
    job.OnProgress = [&](TCustomFFmpeg& running, const TJobProgress& progress) {
        if (progress.InputIndex < 0) return;  // the last report
        if (stopped) ++reportsAfterStop;
        if (++reports == 20) {
            std::thread stopper([&running] { running.StopConvert(false); });
            stopper.join();
            stopped = true;
        }
    };
    EXPECT_FALSE(Run());
    EXPECT_TRUE(stopped);
    EXPECT_EQ(reportsAfterStop, 0);
    EXPECT_FALSE(job.RunState().Failed) << job.RunState().FailureText;
    EXPECT_TRUE(job.RunState().Terminated);
    EXPECT_EQ(Notices, 1);

    const TProbedFile result = ProbeFile(output);  // an MP4 opens only with its trailer
    ASSERT_TRUE(result.Opened);
    EXPECT_GT(result.First(AVMEDIA_TYPE_VIDEO)->Packets, 0);
    EXPECT_LT(result.Duration, 2.0);
}

class DecodingErrorTest : public RunTest {
protected:
    void SetUp() override {
        RunTest::SetUp();
        Folder = TestFolder();
    }

    // A copy of a generated clip whose video packets carry random damage.
    std::string DamagedClip() {
        const std::string damaged = Folder + "/damaged.mkv";
        Prepare(RunClip("mp4-mpeg4", 1.0), {{"vcodec", "copy"}, {"an", "1"}, {"vbsf", "noise=amount=3"}},
                damaged);
        EXPECT_TRUE(Run()) << job.RunState().FailureText;
        job.ResetJob();
        return damaged;
    }

    std::string Folder;
};

TEST_F(DecodingErrorTest, ADamagedPacketIsSkippedAndTheRunGoesOn) {
    const std::string damaged = DamagedClip();
    Prepare(damaged, {{"vcodec", "mpeg4"}}, Folder + "/decoded.mkv");
    EXPECT_TRUE(Run()) << job.RunState().FailureText;
    EXPECT_TRUE(Logged(llVerbose, "Error while decoding stream #0.0 (Video)"));
}

TEST_F(DecodingErrorTest, WithXerrorADamagedPacketFailsTheRun) {
    const std::string damaged = DamagedClip();
    Prepare(damaged, {{"vcodec", "mpeg4"}, {"xerror", "1"}}, Folder + "/decoded.mkv");
    EXPECT_FALSE(Run());
    EXPECT_EQ(job.RunState().FailureText, "Error while decoding stream #0.0 (Video)");
}

}  // namespace
}  // namespace kestrova::testing
