#include "app/queue/FrameStamp.h"

#include <QPainter>

#include <algorithm>
#include <utility>

namespace kestrova {

namespace {

constexpr QPoint kTextPlace(10, 10);
constexpr int kIconMargin = 10;

QFont StampFont(int pointSize, bool underline) {
    QFont font(QStringLiteral("Tahoma"), pointSize, QFont::Bold);
    font.setUnderline(underline);
    return font;
}

void DrawText(QImage& picture, const QFont& font, const QColor& colour, const QString& text) {
    QPainter painter(&picture);
    painter.setFont(font);
    painter.setPen(colour);
    const QFontMetrics metrics(font);
    painter.drawText(kTextPlace + QPoint(0, metrics.ascent()), text);
}

}  // namespace

TFrameStamp::TFrameStamp(QImage icon) : FIcon(std::move(icon)) {}

TFrameStamp::TPen& TFrameStamp::PenOf(int taskIndex) {
    std::lock_guard lock(FLock);
    return FPens[taskIndex];  // a map keeps its elements in place while others are added
}

void TFrameStamp::Draw(THookInfo& hookInfo) {
    hookInfo.Update = true;
    if (!hookInfo.Bitmap || hookInfo.Bitmap->Width() <= 0 || hookInfo.Bitmap->Height() <= 0) return;
    TEngineBitmap& bitmap = *hookInfo.Bitmap;
    QImage picture(bitmap.Line(0), bitmap.Width(), bitmap.Height(), bitmap.BytesPerLine(),
                   QImage::Format_BGR888);
    TPen& pen = PenOf(hookInfo.TaskIndex);
    const int n = hookInfo.FrameNumber;
    if (n == 1) pen = {StampFont(12, true), Qt::white};
    if (n == 250) pen = {StampFont(16, true), Qt::red};
    if (n == 350) pen = {StampFont(16, false), Qt::white};

    if (n <= 99) {
        DrawText(picture, pen.Font, pen.Colour, QStringLiteral("VADOR - Frame Number: %1").arg(n));
    } else if (n >= 150 && n <= 249) {
        DrawText(picture, pen.Font, pen.Colour, QStringLiteral("VADOR - Time Stamp: %1").arg(hookInfo.PTS));
    } else if (n >= 250 && n <= 349) {
        DrawText(picture, pen.Font, pen.Colour, QStringLiteral("VADOR"));
        if (!FIcon.isNull()) {
            QPainter painter(&picture);
            painter.drawImage(picture.width() - kIconMargin - FIcon.width(),
                              picture.height() - kIconMargin - FIcon.height(), FIcon);
        }
    } else if (n >= 350 && n <= 449) {
        DrawText(picture, pen.Font, pen.Colour, QStringLiteral("Reverse Picture Vertically"));
        FlipBitmapVertically(bitmap);
    } else if (n >= 450 && n <= 549) {
        DrawText(picture, pen.Font, pen.Colour, QStringLiteral("Reverse Picture Horizontally"));
        MirrorBitmapHorizontally(bitmap);
    }
}

void FlipBitmapVertically(TEngineBitmap& bitmap) {
    const int rowBytes = bitmap.Width() * 3;
    for (int top = 0, bottom = bitmap.Height() - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(bitmap.Line(top), bitmap.Line(top) + rowBytes, bitmap.Line(bottom));
}

void MirrorBitmapHorizontally(TEngineBitmap& bitmap) {
    const int width = bitmap.Width();
    for (int y = 0; y < bitmap.Height(); ++y) {
        uint8_t* line = bitmap.Line(y);
        for (int left = 0, right = width - 1; left < right; ++left, --right)
            std::swap_ranges(line + left * 3, line + left * 3 + 3, line + right * 3);
    }
}

}  // namespace kestrova
