#include "app/main/QueueColumns.h"

#include <algorithm>
#include <array>

namespace kestrova {

namespace {

constexpr int kInputColumn = 0;
constexpr int kOutputColumn = 3;
constexpr int kInputShare = 120;
constexpr int kOutputShare = 156;
constexpr int kCellPadding = 12;  // the cell's margins and its grid line
// The longest texts the columns of times, sizes and states usually show.
const std::array<QString, 8> kSampleTexts = {QString(),
                                             QStringLiteral("00:00:00"),
                                             QStringLiteral("1024.00MB"),
                                             QString(),
                                             QStringLiteral("00:00:00"),
                                             QStringLiteral("1024.00MB"),
                                             QStringLiteral("Completed"),
                                             QString()};

}  // namespace

std::vector<int> QueueColumnWidths(const QFontMetrics& header, const QFontMetrics& cells,
                                   const QStringList& captions, int indent, int lastWidth, int available) {
    const int count = static_cast<int>(captions.size());
    std::vector<int> widths(static_cast<std::size_t>(count), 0);
    int fixed = 0;
    for (int column = 0; column < count; ++column) {
        if (column == kInputColumn || column == kOutputColumn) continue;
        const QString sample =
                column < static_cast<int>(kSampleTexts.size()) ? kSampleTexts[column] : QString();
        int width = std::max(header.horizontalAdvance(captions[column]) + 2 * indent + 2,
                             cells.horizontalAdvance(sample) + kCellPadding);
        if (column == count - 1) width = std::max(width, lastWidth);
        widths[static_cast<std::size_t>(column)] = width;
        fixed += width;
    }
    const int names = std::max(available - fixed, 0);
    const int input = names * kInputShare / (kInputShare + kOutputShare);
    if (count > kInputColumn) widths[kInputColumn] = input;
    if (count > kOutputColumn) widths[kOutputColumn] = names - input;
    return widths;
}

}  // namespace kestrova
