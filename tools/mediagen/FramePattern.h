#pragma once
// The synthetic picture of the generated clips, and how to read it back.
//
// Every picture carries the number of the frame, so that a test can check a decoded stream
// for frame order and for dropped or doubled frames. Frame number n is the frame shown at
// time n / rate from the start of the clip's timeline (a clip whose video starts late begins
// with a number above zero). Containers without edit lists (FLV, F4V) may move the whole
// timeline a few frames later to make room for the encoders' start-up delay.
//
// Layout (luma plane, width W and height H, both even and at least 16):
//   * The top half is the code area: a grid of 8 columns by 4 rows of equal cells, each
//     W/8 wide and H/8 high (the remainder of a division stays background).
//     Row 0 holds bits 0..7 of the frame number, row 1 bits 8..15 (column c = bit c of the
//     row's byte). Rows 2 and 3 hold the same 16 bits inverted. A set bit is a bright cell
//     (luma 235), a clear bit a dark cell (luma 16); chroma is neutral in the code area.
//   * The bottom half is a horizontal luma ramp with coloured chroma, crossed by a bright
//     vertical bar that moves to the right by a fixed step each frame (a moving edge gives
//     the encoders real motion to code).
//
// Reading back (ReadFrameNumber): average the luma of the central half of each cell
// (the middle half in both directions, away from block edges and ringing). A mean above
// kReadUpper is a set bit, below kReadLower a clear bit; anything in between, or a bit of
// rows 0-1 equal to its supposedly inverted copy in rows 2-3, makes the picture
// unreadable (-1). So a blank, grey, blended or badly damaged picture is never misread as a
// number.
//
// This header has no library dependency: the generator draws with it and the test-support
// library reads with it.
#include <cstddef>
#include <cstdint>

namespace kestrova::mediagen {

inline constexpr int kPatternColumns = 8;
inline constexpr int kPatternRows = 4;
inline constexpr int kPatternBits = 16;
inline constexpr int kMaxFrameNumber = (1 << kPatternBits) - 1;
inline constexpr uint8_t kLumaSet = 235;
inline constexpr uint8_t kLumaClear = 16;
inline constexpr int kReadLower = 80;
inline constexpr int kReadUpper = 170;
inline constexpr int kMinPatternSide = 16;

struct TCellRect {
    int X = 0, Y = 0, Width = 0, Height = 0;
};

// The rectangle of code cell (row, column) in a picture of the given size.
inline TCellRect PatternCell(int row, int column, int width, int height) {
    const int cellWidth = width / kPatternColumns;
    const int cellHeight = height / 2 / kPatternRows;
    return {column * cellWidth, row * cellHeight, cellWidth, cellHeight};
}

// Whether cell (row, column) is bright for frame number n.
inline bool PatternCellSet(int number, int row, int column) {
    const int bit = (row % 2) * kPatternColumns + column;
    const bool set = ((number >> bit) & 1) != 0;
    return row < 2 ? set : !set;
}

// Left edge of the moving bar and its width, for frame number n.
inline int MovingBarWidth(int width) {
    return width / 20 > 2 ? width / 20 : 2;
}
inline int MovingBarX(int number, int width) {
    const int step = width / 64 > 1 ? width / 64 : 1;
    const int travel = width - MovingBarWidth(width);
    return static_cast<int>((static_cast<int64_t>(number) * step) % travel);
}

// Mean luma over the central half of a cell.
inline int CentralMean(const uint8_t* luma, int linesize, const TCellRect& cell) {
    const int x0 = cell.X + cell.Width / 4, x1 = cell.X + cell.Width - cell.Width / 4;
    const int y0 = cell.Y + cell.Height / 4, y1 = cell.Y + cell.Height - cell.Height / 4;
    int64_t sum = 0;
    for (int y = y0; y < y1; ++y) {
        const uint8_t* row = luma + static_cast<ptrdiff_t>(y) * linesize;
        for (int x = x0; x < x1; ++x) sum += row[x];
    }
    const int64_t count = static_cast<int64_t>(x1 - x0) * (y1 - y0);
    return count > 0 ? static_cast<int>(sum / count) : -1;
}

// Reads the frame number back from a luma plane; -1 when the picture carries no readable code.
inline int ReadFrameNumber(const uint8_t* luma, int linesize, int width, int height) {
    if (!luma || width < kMinPatternSide || height < kMinPatternSide) return -1;
    int bits[kPatternRows][kPatternColumns];
    for (int row = 0; row < kPatternRows; ++row) {
        for (int column = 0; column < kPatternColumns; ++column) {
            const int mean = CentralMean(luma, linesize, PatternCell(row, column, width, height));
            if (mean > kReadUpper)
                bits[row][column] = 1;
            else if (mean >= 0 && mean < kReadLower)
                bits[row][column] = 0;
            else
                return -1;
        }
    }
    int number = 0;
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < kPatternColumns; ++column) {
            if (bits[row][column] == bits[row + 2][column]) return -1;
            number |= bits[row][column] << (row * kPatternColumns + column);
        }
    }
    return number;
}

// Draws the picture of frame number n into planar 4:2:0 planes (Y full size, U and V half).
inline void DrawFramePattern(int number, int width, int height, uint8_t* y, int yLinesize, uint8_t* u,
                             int uLinesize, uint8_t* v, int vLinesize) {
    const int half = height / 2;
    const int barX = MovingBarX(number, width), barWidth = MovingBarWidth(width);
    for (int row = 0; row < height; ++row) {
        uint8_t* line = y + static_cast<ptrdiff_t>(row) * yLinesize;
        for (int x = 0; x < width; ++x) {
            uint8_t value;
            if (row < half) {
                value = kLumaClear;  // background of the code area (dark, like a clear bit)
            } else if (x >= barX && x < barX + barWidth) {
                value = kLumaSet;
            } else {
                value = static_cast<uint8_t>(kLumaClear + (kLumaSet - kLumaClear) * x / width);
            }
            line[x] = value;
        }
    }
    for (int row = 0; row < kPatternRows; ++row) {
        for (int column = 0; column < kPatternColumns; ++column) {
            if (!PatternCellSet(number, row, column)) continue;
            const TCellRect cell = PatternCell(row, column, width, height);
            for (int yy = cell.Y; yy < cell.Y + cell.Height; ++yy) {
                uint8_t* line = y + static_cast<ptrdiff_t>(yy) * yLinesize;
                for (int x = cell.X; x < cell.X + cell.Width; ++x) line[x] = kLumaSet;
            }
        }
    }
    const int chromaWidth = width / 2, chromaHeight = height / 2;
    for (int row = 0; row < chromaHeight; ++row) {
        uint8_t* uLine = u + static_cast<ptrdiff_t>(row) * uLinesize;
        uint8_t* vLine = v + static_cast<ptrdiff_t>(row) * vLinesize;
        const bool codeArea = row * 2 < half;
        for (int x = 0; x < chromaWidth; ++x) {
            uLine[x] = codeArea ? 128 : static_cast<uint8_t>(64 + 128 * x / chromaWidth);
            vLine[x] = codeArea ? 128 : static_cast<uint8_t>(192 - 128 * row / chromaHeight);
        }
    }
}

}  // namespace kestrova::mediagen
