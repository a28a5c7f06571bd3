// The numbers of the progress report and the statistics of the last one.
#include "engine/core/run/JobStatistics.h"
#include "tests/engine/core/ClipBuilder.h"
#include "tests/engine/core/TranscodeTestSupport.h"

#include <fstream>

namespace kestrova::testing {
namespace {

class ProgressTest : public RunTest {
protected:
    void SetUp() override {
        RunTest::SetUp();
        job.OnProgress = [this](TCustomFFmpeg&, const TJobProgress& progress) {
            Reports.push_back(progress);
        };
    }
    std::vector<TJobProgress> Reports;
};

TEST_F(ProgressTest, AudioOnlyJobReportsNoVideoNumbersAndTheWrittenSize) {
    const std::string output = TestFolder() + "/audio.m4a";
    Prepare(TClipBuilder("wav", 2.0).Path(), {{"acodec", "aac"}}, output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    ASSERT_FALSE(Reports.empty());
    const TJobProgress& last = Reports.back();
    EXPECT_EQ(last.FrameNumber, -1);
    EXPECT_EQ(last.Fps, -1);
    EXPECT_EQ(last.Quality, -1);
    EXPECT_EQ(last.TotalSize, static_cast<int64_t>(FileSize(output)));
    const double seconds = static_cast<double>(last.CurrentDuration) / 1000000;
    EXPECT_NEAR(seconds, 2.0, 0.1);
    EXPECT_NEAR(last.BitRate, static_cast<double>(last.TotalSize) * 8 / seconds / 1000, 0.5);
}

TEST_F(ProgressTest, VideoJobReportsItsFramesAndTheEncoderQuality) {
    const std::string output = TestFolder() + "/video.mkv";
    Prepare(TClipBuilder("mp4", 1.0).Path(), {{"vcodec", "mpeg4"}, {"acodec", "copy"}}, output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    ASSERT_FALSE(Reports.empty());
    const TJobProgress& last = Reports.back();
    EXPECT_EQ(last.FrameNumber, ProbeFile(output).First(AVMEDIA_TYPE_VIDEO)->Packets);
    EXPECT_GE(last.Fps, 0);
    EXPECT_GT(last.Quality, 1.0f);
    EXPECT_LT(last.Quality, 32.0f);
}

TEST_F(ProgressTest, CopiedVideoHasNoQuality) {
    Prepare(TClipBuilder("mp4", 1.0).Path(), {{"vcodec", "copy"}, {"acodec", "copy"}},
            TestFolder() + "/copy.mkv");
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    ASSERT_FALSE(Reports.empty());
    EXPECT_EQ(Reports.back().Quality, -1);
    EXPECT_GT(Reports.back().FrameNumber, 0);
}

TEST_F(ProgressTest, NoReportAtAllBeforeTheFirstVideoFrame) {
    Prepare(TClipBuilder("mp4", 1.0).Path(), {{"vcodec", "mpeg4"}, {"acodec", "aac"}, {"vframes", "0"}},
            TestFolder() + "/none.mkv");
    job.SetProgressInterval(0);
    Run();
    EXPECT_TRUE(Reports.empty());
}

TEST_F(ProgressTest, WithoutCallbackTheLastReportLogsStatusAndByteStatistics) {
    job.OnProgress = nullptr;
    TFFLogger::Instance().SetLogLevel(llVerbose);
    Prepare(TClipBuilder("mp4", 1.0).Path(), {{"vcodec", "mpeg4"}, {"acodec", "aac"}, {"qphist", "1"}},
            TestFolder() + "/logged.mkv");
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    std::string status, statistics;
    for (const TCapturedLine& line : Lines()) {
        if (line.Text.find("bitrate=") != std::string::npos) status = line.Text;
        if (line.Text.rfind("video:", 0) == 0) statistics = line.Text;
    }
    EXPECT_NE(status.find("frame="), std::string::npos) << status;
    EXPECT_NE(status.find(" L"), std::string::npos) << status;  // the last report's mark, then the histogram
    EXPECT_EQ(status.find("dup="), std::string::npos) << status;
    EXPECT_NE(statistics.find("muxing overhead"), std::string::npos) << statistics;
    EXPECT_EQ(statistics.find("unknown"), std::string::npos) << statistics;
}

TEST_F(ProgressTest, VideoStatisticsFileHasOneLinePerEncodedPicture) {
    const std::string folder = TestFolder();
    const std::string output = folder + "/stats.mkv";
    Prepare(TClipBuilder("mp4", 1.0).Path(),
            {{"vcodec", "mpeg4"}, {"an", ""}, {"vstats_file", folder + "/vstats.log"}}, output);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    std::ifstream stats(folder + "/vstats.log");
    std::vector<std::string> lines;
    for (std::string line; std::getline(stats, line);) lines.push_back(line);
    ASSERT_EQ(static_cast<int>(lines.size()), ProbeFile(output).First(AVMEDIA_TYPE_VIDEO)->Packets);
    EXPECT_EQ(lines.front().rfind("frame=     1 ", 0), 0u) << lines.front();
    EXPECT_NE(lines.front().find("type= I"), std::string::npos) << lines.front();
    EXPECT_NE(lines.back().find("avg_br="), std::string::npos) << lines.back();
}

TEST_F(ProgressTest, UnwritableVideoStatisticsFileEndsTheRunWithItsName) {
    const std::string name = TestFolder() + "/no/such/folder/vstats.log";
    Prepare(TClipBuilder("mp4", 1.0).Path(), {{"vcodec", "mpeg4"}, {"an", ""}, {"vstats_file", name}},
            TestFolder() + "/x.mkv");
    EXPECT_FALSE(Run());
    EXPECT_EQ(job.RunState().FailureText, "fopen fail: " + name);
}

TEST(RunStatisticsLine, SharesOfTheWrittenBytes) {
    TRunStatistics statistics;
    statistics.VideoSize = 2048;
    statistics.AudioSize = 1024;
    EXPECT_EQ(RunStatisticsLine(statistics, 3584),
              "video:2kB audio:1kB global headers:0kB muxing overhead 16.666667%");
    EXPECT_EQ(RunStatisticsLine(TRunStatistics{}, 100),
              "video:0kB audio:0kB global headers:0kB muxing overhead unknown");
}

}  // namespace
}  // namespace kestrova::testing
