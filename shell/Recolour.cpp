#include "shell/Recolour.h"

namespace kestrova {

namespace {

void ConvertToDirect32(QImage& image) {
    const QImage::Format format = image.format();
    if (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32) return;
    image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

}  // namespace

void RecolourImage(QImage& image, QRgb oldColour, QRgb newColour) {
    if (image.isNull()) return;
    ConvertToDirect32(image);
    const QRgb oldRgb = oldColour & RGB_MASK;
    const QRgb newRgb = newColour & RGB_MASK;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & RGB_MASK) == oldRgb) line[x] = (line[x] & ~RGB_MASK) | newRgb;
        }
    }
}

}  // namespace kestrova
