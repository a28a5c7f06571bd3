#pragma once
#include <QFontMetrics>
#include <QStringList>

#include <vector>

namespace kestrova {

// The widths of the queue's columns within `available` pixels: each caption whole (`indent`
// on either side, as the skinned header draws it) and the columns of times, sizes and states
// as wide as their usual texts; the input and output names share what is left, as 120 to 156.
// The last column keeps `lastWidth` (the queue narrows it for a scroll bar).
std::vector<int> QueueColumnWidths(const QFontMetrics& header, const QFontMetrics& cells,
                                   const QStringList& captions, int indent, int lastWidth, int available);

}  // namespace kestrova
