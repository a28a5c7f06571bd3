#pragma once
#include <QImage>
#include <QRgb>

namespace kestrova {

// Replaces every pixel of the old colour by the new colour. Colours compare by red, green and
// blue; each pixel keeps its own transparency. Images in other formats are first converted
// to 32-bit (A)RGB.
void RecolourImage(QImage& image, QRgb oldColour, QRgb newColour);

}  // namespace kestrova
