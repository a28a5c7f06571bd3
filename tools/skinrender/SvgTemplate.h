#pragma once
#include "tools/skinrender/PictureList.h"

#include <QDir>
#include <QString>

namespace kestrova::skinrender {

// Fills an SVG source: every {{key}} becomes the value of key, and a value written "@file.svg"
// becomes the drawing inside that file's <svg> root (so glyphs stay viewable files of their
// own). Values may hold placeholders themselves; they are filled in turn. {{width}} and
// {{height}} are the picture's pixel size unless given. Throws std::runtime_error for a
// placeholder without a value, an unreadable file or placeholders that keep nesting.
QString ExpandTemplate(const QString& source, const TPictureJob& job, const QDir& sourceFolder);

// The whole text of a file under the source folder; throws when it cannot be read.
QString ReadSourceFile(const QDir& sourceFolder, const QString& name);

}  // namespace kestrova::skinrender
