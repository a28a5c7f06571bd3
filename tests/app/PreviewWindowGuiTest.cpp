// The conversions' preview window off screen: made at the first picture's size, captioned with
// the picture's time, drawing the engine's blue-green-red bitmaps, and ending the preview of
// its conversion when the user closes it.
#include "app/preview/PreviewPlacement.h"
#include "app/preview/PreviewWindow.h"
#include "engine/front/FFmpegEngine.h"
#include "tests/support/TestMedia.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace kestrova::testing {

namespace {

TEngineBitmap FilledBitmap(int width, int height, uint8_t blue, uint8_t green, uint8_t red) {
    TEngineBitmap bitmap;
    bitmap.SetSize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* pixel = bitmap.Line(y) + x * 3;
            pixel[0] = blue;
            pixel[1] = green;
            pixel[2] = red;
        }
    return bitmap;
}

std::vector<TQtPreviewWindow*> PreviewWindows() {
    std::vector<TQtPreviewWindow*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<TQtPreviewWindow*>(widget)) windows.push_back(window);
    return windows;
}

}  // namespace

TEST(PreviewWindowTest, TakesTheFirstPicturesSizeAndDrawsEveryPictureInIt) {
    int closedByUser = 0;
    TQtPreviewWindow window([&] { ++closedByUser; });
    // An odd width: rows are padded to four bytes in the bitmap.
    window.Paint(FilledBitmap(63, 48, 0x10, 0x80, 0xF0), "00:00:01.000");
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.size(), QSize(63, 48)) << "a small picture keeps its size";
    EXPECT_EQ(window.windowTitle(), QStringLiteral("00:00:01.000"));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(window.windowType(), Qt::Tool);
    EXPECT_EQ(window.grab().toImage().pixelColor(62, 47), QColor(0xF0, 0x80, 0x10));

    window.Paint(FilledBitmap(100, 80, 0xFF, 0, 0), "00:00:01.040");
    EXPECT_EQ(window.size(), QSize(63, 48));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("00:00:01.040"));
    EXPECT_EQ(window.grab().toImage().pixelColor(0, 0), QColor(0, 0, 0xFF));
    EXPECT_EQ(closedByUser, 0);
}

TEST(PreviewWindowTest, OnlyTheUsersCloseEndsThePreview) {
    int closedByUser = 0;
    {
        TQtPreviewWindow window([&] { ++closedByUser; });
        window.Paint(FilledBitmap(16, 16, 0, 0, 0), "N/A");
    }
    EXPECT_EQ(closedByUser, 0);
    TQtPreviewWindow window([&] { ++closedByUser; });
    window.Paint(FilledBitmap(16, 16, 0, 0, 0), "N/A");
    window.close();
    EXPECT_EQ(closedByUser, 1);
}

TEST(PreviewWindowTest, AConversionsPreviewerShowsItsPicturesInAQtWindowUntilTheUserClosesIt) {
    TPreviewWindowRegistration registration;
    const TEngineBitmap bitmap = FilledBitmap(32, 24, 0, 0xFF, 0);
    {
        TPreviewer previewer;
        EXPECT_TRUE(previewer.ShowFrame(bitmap, 1, 3723456789));
        const std::vector<TQtPreviewWindow*> windows = PreviewWindows();
        ASSERT_EQ(windows.size(), 1u);
        EXPECT_EQ(windows[0]->windowTitle(), QStringLiteral("01:02:03.456"));
        windows[0]->close();
        EXPECT_FALSE(previewer.ShowFrame(bitmap, 2, 3723500000));
        EXPECT_EQ(windows[0]->windowTitle(), QStringLiteral("01:02:03.456"));
    }
    EXPECT_TRUE(PreviewWindows().empty()) << "the previewer left its window behind";
}

// A 1280 x 720 picture shows 480 x 270 beside the main window, and the window goes when its
// conversion ends.
TEST(PreviewWindowTest, AConversionsPreviewFitsBesideTheMainWindowAndClosesWithTheRun) {
    QWidget main;
    main.setGeometry(0, 0, 200, 150);
    main.show();
    TPreviewWindowRegistration registration(&main);
    TFFmpegEngine engine;
    ASSERT_TRUE(engine.LoadAVLib("")) << engine.LastErrMsg();
    testmedia::ClipSpec spec;
    spec.format = "flv";
    spec.duration = 0.3;
    spec.width = 1280;
    spec.height = 720;
    const int task = engine.AddTask(testmedia::Clip(spec));
    ASSERT_GE(task, 0) << engine.LastErrMsg();
    ASSERT_TRUE(engine.SetOutputFile(task, testmedia::TempDir("preview-window") + "/out.flv"))
            << engine.LastErrMsg();
    engine.SetPreview(true);
    QRect shown;
    engine.OnProgress = [&](TCustomFFmpegEngine&, TProgressInfo*) {
        if (const auto windows = PreviewWindows(); !windows.empty()) shown = windows[0]->geometry();
    };
    engine.StartTask(0);  // in this thread, until the run has ended
    EXPECT_EQ(shown.size(), QSize(480, 270));
    EXPECT_FALSE(shown.intersects(main.frameGeometry())) << "the preview covers the main window";
    EXPECT_TRUE(PreviewWindows().empty()) << "the window outlived its conversion";
}

TEST(PreviewWindowTest, PlacesBesideTheMainWindowOnTheSideWithRoom) {
    struct TCase {
        QRect Main;
        int Index;
        QRect Expected;
    };
    const QRect screen(0, 0, 1920, 1080);
    const TCase cases[] = {
            {{560, 290, 800, 500}, 0, {1368, 290, 480, 270}},  // right of it
            {{560, 290, 800, 500}, 1, {1368, 568, 480, 270}},  // the next one below the first
            {{1100, 290, 800, 500}, 0, {612, 290, 480, 270}},  // left when the right is short
            {{0, 0, 1920, 700}, 0, {0, 708, 480, 270}},        // below when both sides are
            {{0, 0, 1920, 900}, 0, {0, 908, 305, 172}},        // made smaller to fit
    };
    for (const TCase& c : cases)
        EXPECT_EQ(PreviewPlace(c.Main, screen, {480, 270}, c.Index), c.Expected)
                << c.Main.x() << " " << c.Index;
}

}  // namespace kestrova::testing
