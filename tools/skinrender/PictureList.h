#pragma once
#include <QSize>
#include <QString>

#include <map>
#include <vector>

namespace kestrova::skinrender {

using TValues = std::map<QString, QString>;

// One PNG to draw: the SVG source, the pixel size and the values its {{placeholders}} take.
struct TPictureJob {
    QString Output;  // relative to the output folder
    QSize Size;
    QString Source;  // relative to the source folder
    TValues Values;
};

// One source file copied as it is (the scalable icon).
struct TCopyJob {
    QString Output;
    QString Source;
};

struct TPictureList {
    std::vector<TPictureJob> Pictures;
    std::vector<TCopyJob> Copies;
};

// Reads the picture list. Lines (blank lines and lines starting with '#' are skipped):
//   style <family> <state> key=value ...
//   picture <output> <width>x<height> <source> [states=<family>] key=value ...
//   copy <output> <source>
// A picture with states=<family> stands for one picture per state of that family, in the order
// the styles were listed: "{state}" in its output name becomes the state's name and the state's
// values join the picture's own (the picture's win). Values may be double-quoted to hold blanks.
// Throws std::runtime_error naming the line of the first mistake.
TPictureList ParsePictureList(const QString& text, const QString& listName);

}  // namespace kestrova::skinrender
