#pragma once
#include <QString>

namespace kestrova {

// The first free name of the form base-N.ext. Without an extension argument the path's own
// extension (with its dot) is split off. A base ending in "-" plus one character counts on
// from that character (a non-digit counts from -1): clip-1.xml proposes clip-2.xml when
// clip-1.xml exists, movie.mp4 proposes movie-1.mp4, movie-10 proposes movie-10-1.
QString NumberedFileName(const QString& path, const QString& extension = QString());

}  // namespace kestrova
