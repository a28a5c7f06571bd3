#pragma once
#include <QImage>
#include <QSize>
#include <QString>

namespace kestrova::skinrender {

// Draws a filled-in SVG document into a transparent picture of the given pixel size (the
// document's view box is fitted to it). Throws std::runtime_error when the document does not
// parse, when the SVG renderer warns about anything in it (an unsupported element would
// otherwise be dropped silently), or when it names a font family this machine lacks (the
// captions would be drawn in some other font).
QImage RasteriseSvg(const QString& svg, const QSize& size, const QString& name);

}  // namespace kestrova::skinrender
