// Encoded pictures handed to the preview over whole conversions: the preview-bitmap callback
// (at most one picture per interval), the preview window through the host's window factory
// (closed by the user, or switched off by the host while the job runs), and the bitmap taking
// precedence over the window.
#include "engine/frame/EngineBitmap.h"
#include "engine/frame/MainThread.h"
#include "engine/frame/Previewer.h"
#include "tests/engine/core/TranscodeTestSupport.h"

#include <chrono>
#include <memory>

namespace kestrova::testing {
namespace {

struct TWindowRecord {
    int Windows = 0;
    int Paints = 0;
    bool ClosedWhileRunning = false;
};

class TRecordingWindow : public TPreviewWindow {
public:
    TRecordingWindow(TWindowRecord& record, const TCustomFFmpeg& job) : FRecord(record), FJob(job) {}
    ~TRecordingWindow() override { FRecord.ClosedWhileRunning = FJob.RunState().Running; }
    void Paint(const TEngineBitmap&, const std::string&) override { ++FRecord.Paints; }

private:
    TWindowRecord& FRecord;
    const TCustomFFmpeg& FJob;
};

class PreviewHandOffTest : public RunTest {
protected:
    void SetUp() override {
        RunTest::SetUp();
        MainThread::SetCurrentAsMain();
        SetPreviewWindowFactory([this](std::function<void()> closedByUser) {
            ++Window.Windows;
            CloseWindow = std::move(closedByUser);
            return std::make_unique<TRecordingWindow>(Window, job);
        });
        Prepare(RunClip("flv", 1.0, true, false), {{"vcodec", "mpeg4"}}, TestFolder() + "/previewed.mp4");
    }
    void TearDown() override {
        SetPreviewWindowFactory(nullptr);
        RunTest::TearDown();
    }

    // Counts the bitmaps handed to the callback, checking each one's size and frame number.
    void CountBitmaps() {
        job.OnPreviewBitmap = [this](TCustomFFmpeg&, const TEngineBitmap& bitmap, int64_t pts,
                                     uint32_t frameNumber) {
            ++Bitmaps;
            BitmapsOfThePictureSize &= bitmap.Width() == 160 && bitmap.Height() == 120;
            FrameNumbersGrow &= frameNumber > LastFrameNumber && pts > LastPts;
            LastFrameNumber = frameNumber;
            LastPts = pts;
        };
    }

    TWindowRecord Window;
    std::function<void()> CloseWindow;
    int Bitmaps = 0;
    bool BitmapsOfThePictureSize = true;
    bool FrameNumbersGrow = true;
    uint32_t LastFrameNumber = 0;
    int64_t LastPts = INT64_MIN;
};

TEST_F(PreviewHandOffTest, WithoutIntervalEveryEncodedPictureReachesTheBitmapCallback) {
    CountBitmaps();
    job.SetPreviewBitmap(true);
    job.SetPreviewInterval(0);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    EXPECT_EQ(Bitmaps, 25);
    EXPECT_TRUE(BitmapsOfThePictureSize);
    EXPECT_TRUE(FrameNumbersGrow);
}

TEST_F(PreviewHandOffTest, BitmapsComeAtMostOncePerInterval) {
    CountBitmaps();
    job.SetPreviewBitmap(true);
    job.SetPreviewInterval(100000);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    const auto elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    EXPECT_GE(Bitmaps, 1);
    EXPECT_LE(Bitmaps, elapsed.count() / 100 + 1);
}

TEST_F(PreviewHandOffTest, TheBitmapCallbackTakesPrecedenceOverTheWindow) {
    CountBitmaps();
    job.SetPreview(true);
    job.SetPreviewBitmap(true);
    job.SetPreviewInterval(0);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    EXPECT_EQ(Bitmaps, 25);
    EXPECT_EQ(Window.Windows, 0);
}

TEST_F(PreviewHandOffTest, AWindowClosedByTheUserEndsTheJobsPreview) {
    job.SetPreview(true);
    job.SetPreviewInterval(0);
    job.OnProgress = [this](TCustomFFmpeg&, const TJobProgress&) {
        if (Window.Paints >= 3 && CloseWindow) CloseWindow();
    };
    job.SetProgressInterval(0);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    EXPECT_EQ(Window.Windows, 1);
    EXPECT_GE(Window.Paints, 3);
    EXPECT_LT(Window.Paints, 25);
    EXPECT_EQ(job.PreviewFlags(), 0);
    EXPECT_TRUE(Window.ClosedWhileRunning);
}

TEST_F(PreviewHandOffTest, SwitchingThePreviewOffWhileRunningClosesTheWindow) {
    job.SetPreview(true);
    job.SetPreviewInterval(0);
    job.OnProgress = [this](TCustomFFmpeg&, const TJobProgress&) {
        if (Window.Paints >= 2) job.SetPreview(false);
    };
    job.SetProgressInterval(0);
    ASSERT_TRUE(Run()) << job.RunState().FailureText;
    EXPECT_EQ(Window.Windows, 1);
    EXPECT_LT(Window.Paints, 25);
    EXPECT_TRUE(Window.ClosedWhileRunning);
}

}  // namespace
}  // namespace kestrova::testing
