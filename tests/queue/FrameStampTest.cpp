// The custom hook's drawing on a task's frames, read back from the bitmap.
#include "app/queue/FrameStamp.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kestrova {
namespace {

// A bitmap whose pixels each hold their own position: blue = x, green = y, red = 7.
TEngineBitmap NumberedBitmap(int width, int height) {
    TEngineBitmap bitmap;
    bitmap.SetSize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* pixel = bitmap.Line(y) + x * 3;
            pixel[0] = static_cast<uint8_t>(x);
            pixel[1] = static_cast<uint8_t>(y);
            pixel[2] = 7;
        }
    return bitmap;
}

bool SameLine(const TEngineBitmap& a, int ya, const TEngineBitmap& b, int yb, int from, int to) {
    return std::memcmp(a.Line(ya) + from * 3, b.Line(yb) + from * 3,
                       static_cast<std::size_t>(to - from) * 3) == 0;
}

TEST(FrameStampTest, FlipAndMirrorExchangeRowsAndPixels) {
    const TEngineBitmap original = NumberedBitmap(7, 5);
    TEngineBitmap bitmap = original;
    FlipBitmapVertically(bitmap);
    for (int y = 0; y < 5; ++y) EXPECT_TRUE(SameLine(bitmap, y, original, 4 - y, 0, 7));
    bitmap = original;
    MirrorBitmapHorizontally(bitmap);
    for (int x = 0; x < 7; ++x) EXPECT_EQ(bitmap.Line(2)[x * 3], 6 - x);
}

TEST(FrameStampTest, EachFrameRangeDrawsItsOwnStep) {
    struct {
        int frame;
        bool textDrawn;
        bool flipped;
        bool mirrored;
    } const cases[] = {
            {1, true, false, false},   {99, true, false, false},  {120, false, false, false},
            {200, true, false, false}, {250, true, false, false}, {350, true, true, false},
            {449, true, true, false},  {450, true, false, true},  {600, false, false, false},
    };
    TFrameStamp stamp{QImage()};
    for (const auto& c : cases) {
        const TEngineBitmap original = NumberedBitmap(200, 120);
        TEngineBitmap bitmap = original;
        THookInfo info;
        info.TaskIndex = 0;
        info.Bitmap = &bitmap;
        info.FrameNumber = c.frame;
        info.PTS = 123456;
        info.Update = false;
        stamp.Draw(info);
        EXPECT_TRUE(info.Update) << c.frame;
        // Rows above 10 and below 60 are never written on: they show whether the picture moved.
        const bool bottomSame = SameLine(bitmap, 110, original, 110, 0, 200);
        const bool bottomFlipped = SameLine(bitmap, 110, original, 9, 0, 200);
        EXPECT_EQ(bottomFlipped, c.flipped) << c.frame;
        EXPECT_EQ(!bottomSame && !bottomFlipped, c.mirrored) << c.frame;
        // The text goes in from (10, 10): the picture's top rows change there unless flipped.
        if (!c.flipped && !c.mirrored) {
            bool changed = false;
            for (int y = 10; y < 30; ++y) changed = changed || !SameLine(bitmap, y, original, y, 10, 120);
            EXPECT_EQ(changed, c.textDrawn) << c.frame;
        }
    }
}

TEST(FrameStampTest, TheIconSitsTenPixelsFromTheBottomRightCorner) {
    QImage icon(16, 16, QImage::Format_RGB888);
    icon.fill(Qt::green);
    TFrameStamp stamp(icon);
    TEngineBitmap bitmap = NumberedBitmap(100, 80);
    THookInfo info;
    info.Bitmap = &bitmap;
    info.FrameNumber = 300;
    stamp.Draw(info);
    auto isGreen = [&](int x, int y) {
        const uint8_t* pixel = bitmap.Line(y) + x * 3;
        return pixel[0] == 0 && pixel[1] == 255 && pixel[2] == 0;
    };
    EXPECT_TRUE(isGreen(100 - 10 - 16, 80 - 10 - 16));
    EXPECT_TRUE(isGreen(100 - 10 - 1, 80 - 10 - 1));
    EXPECT_FALSE(isGreen(100 - 10, 80 - 10));
}

}  // namespace
}  // namespace kestrova
