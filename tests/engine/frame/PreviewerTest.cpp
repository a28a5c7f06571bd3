// Pictures to engine bitmaps through the real scaler, the preview time caption, and the
// previewer handing frames to a host window on the main thread until the user closes it.
#include "engine/frame/Previewer.h"
#include "engine/frame/EngineBitmap.h"
#include "engine/frame/FFmpegLoader.h"
#include "engine/frame/LibBindings.h"
#include "engine/frame/MainThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

using namespace kestrova;

namespace {

class PictureConverterTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(LoadMediaLibraries()) << TFFmpegLoader::Instance().LastError();
    }

    // A picture of one colour: planar 4:2:0 from Y, U, V.
    static FramePtr SolidYuv(int width, int height, uint8_t y, uint8_t u, uint8_t v) {
        FramePtr frame(ff::av_frame_alloc());
        frame->format = AV_PIX_FMT_YUV420P;
        frame->width = width;
        frame->height = height;
        EXPECT_EQ(ff::av_frame_get_buffer(frame.get(), 0), 0);
        const uint8_t values[3] = {y, u, v};
        for (int plane = 0; plane < 3; ++plane) {
            const int rows = plane == 0 ? height : (height + 1) / 2;
            std::memset(frame->data[plane], values[plane],
                        static_cast<std::size_t>(frame->linesize[plane]) * rows);
        }
        return frame;
    }

    // Every pixel of the bitmap is near blue, green, red; the row padding is not looked at.
    static void ExpectColour(const TEngineBitmap& bitmap, int b, int g, int r) {
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x) {
                const uint8_t* pixel = bitmap.Line(y) + x * 3;
                ASSERT_NEAR(pixel[0], b, 6) << x << "," << y;
                ASSERT_NEAR(pixel[1], g, 6) << x << "," << y;
                ASSERT_NEAR(pixel[2], r, 6) << x << "," << y;
            }
    }

    TPictureConverter converter;
};

TEST_F(PictureConverterTest, AYuvPictureBecomesBgrRowsPaddedToFourBytes) {
    const FramePtr red = SolidYuv(6, 4, 81, 90, 240);
    ASSERT_TRUE(converter.Convert(*red));
    const TEngineBitmap& bitmap = *converter.Bitmap();
    EXPECT_EQ(bitmap.Width(), 6);
    EXPECT_EQ(bitmap.Height(), 4);
    EXPECT_EQ(bitmap.BytesPerLine(), 20);
    ExpectColour(bitmap, 0, 0, 255);
}

TEST_F(PictureConverterTest, OddSizesAndChangingSizesConvertWithoutRegrowing) {
    const FramePtr big = SolidYuv(64, 48, 145, 54, 34);  // green
    ASSERT_TRUE(converter.Convert(*big));
    const uint8_t* memory = converter.Bitmap()->Bits();
    const FramePtr small = SolidYuv(5, 3, 41, 240, 110);  // blue
    ASSERT_TRUE(converter.Convert(*small));
    EXPECT_EQ(converter.Bitmap()->BytesPerLine(), 16);
    ExpectColour(*converter.Bitmap(), 255, 0, 0);
    EXPECT_EQ(converter.Bitmap()->Bits(), memory);  // a smaller picture reuses the memory
    ASSERT_TRUE(converter.Convert(*big));
    ExpectColour(*converter.Bitmap(), 0, 255, 0);
}

TEST_F(PictureConverterTest, ABgrPictureInTheBitmapLayoutIsCopiedAsItIs) {
    const int width = 4, height = 2, stride = BitmapBytesPerLine(width);
    std::vector<uint8_t> pixels(static_cast<std::size_t>(stride) * height);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 7);
    const uint8_t* data[4] = {pixels.data(), nullptr, nullptr, nullptr};
    const int lines[4] = {stride, 0, 0, 0};
    ASSERT_TRUE(converter.Convert(data, lines, AV_PIX_FMT_BGR24, height, width));
    EXPECT_EQ(std::memcmp(converter.Bitmap()->Bits(), pixels.data(), pixels.size()), 0);
}

TEST_F(PictureConverterTest, AFormatTheScalerCannotTakeIsRefused) {
    const FramePtr picture = SolidYuv(4, 4, 16, 128, 128);
    EXPECT_FALSE(converter.Convert(picture->data, picture->linesize, AV_PIX_FMT_NONE, 4, 4));
    EXPECT_FALSE(converter.Convert(picture->data, picture->linesize, AV_PIX_FMT_YUV420P, 0, 4));
    converter.Reset();
    EXPECT_EQ(converter.Bitmap(), nullptr);
}

TEST(PreviewTimeTextTest, HoursMinutesSecondsAndMilliseconds) {
    EXPECT_EQ(PreviewTimeText(3723456789), "01:02:03.456");
    EXPECT_EQ(PreviewTimeText(0), "00:00:00.000");
    EXPECT_EQ(PreviewTimeText(360000000000), "100:00:00.000");
    EXPECT_EQ(PreviewTimeText(INT64_MIN), "N/A");
}

// A host window that records what it is asked to do and on which thread.
struct TRecordingWindow : TPreviewWindow {
    struct TRecord {
        int Paints = 0;
        bool PaintedOffMain = false;
        std::string Caption;
        int FirstPixelBlue = -1;
        bool Closed = false;
        bool ClosedOffMain = false;
    };
    explicit TRecordingWindow(TRecord& record) : Record(record) {}
    ~TRecordingWindow() override {
        Record.Closed = true;
        Record.ClosedOffMain = !MainThread::IsMainThread();
    }
    void Paint(const TEngineBitmap& bitmap, const std::string& caption) override {
        ++Record.Paints;
        Record.PaintedOffMain |= !MainThread::IsMainThread();
        Record.Caption = caption;
        Record.FirstPixelBlue = bitmap.Line(0)[0];
    }
    TRecord& Record;
};

class PreviewerTest : public ::testing::Test {
protected:
    void SetUp() override {
        MainThread::SetCurrentAsMain();
        SetPreviewWindowFactory([this](std::function<void()> closedByUser) {
            CloseWindow = std::move(closedByUser);
            return std::make_unique<TRecordingWindow>(Record);
        });
        Bitmap.SetSize(2, 2);
        Bitmap.Line(0)[0] = 200;
    }
    void TearDown() override { SetPreviewWindowFactory(nullptr); }

    // Shows one frame from a worker thread, the main thread serving it meanwhile.
    bool ShowFromWorker(TPreviewer& previewer, int64_t frame, int64_t pts) {
        std::atomic<bool> done{false};
        bool shown = false;
        std::thread worker([&] {
            shown = previewer.ShowFrame(Bitmap, frame, pts);
            done = true;
        });
        MainThread::WaitUntil([&] { return done.load(); });
        worker.join();
        return shown;
    }

    TRecordingWindow::TRecord Record;
    std::function<void()> CloseWindow;
    TEngineBitmap Bitmap;
};

TEST_F(PreviewerTest, FramesArePaintedOnTheMainThreadUntilTheUserClosesTheWindow) {
    {
        TPreviewer previewer;
        EXPECT_TRUE(ShowFromWorker(previewer, 1, 3723456789));
        EXPECT_EQ(Record.Paints, 1);
        EXPECT_FALSE(Record.PaintedOffMain);
        EXPECT_EQ(Record.Caption, "01:02:03.456");
        EXPECT_EQ(Record.FirstPixelBlue, 200);

        CloseWindow();  // the user closes it
        EXPECT_FALSE(ShowFromWorker(previewer, 2, 0));
        EXPECT_EQ(Record.Paints, 1);
        EXPECT_FALSE(Record.Closed);
    }
    EXPECT_TRUE(Record.Closed);  // freed with the previewer
}

TEST_F(PreviewerTest, DestroyingThePreviewerOnAWorkerClosesTheWindowOnTheMainThread) {
    auto previewer = std::make_unique<TPreviewer>();
    EXPECT_TRUE(ShowFromWorker(*previewer, 1, 0));
    std::atomic<bool> done{false};
    std::thread worker([&] {
        previewer.reset();
        done = true;
    });
    MainThread::WaitUntil([&] { return done.load(); });
    worker.join();
    EXPECT_TRUE(Record.Closed);
    EXPECT_FALSE(Record.ClosedOffMain);
}

}  // namespace
