#pragma once
// Only for the core: the per-frame video statistics file ("vstats"), one line per encoded picture.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace kestrova {

struct OutputStreamState;

struct TCFileClose {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using CFilePtr = std::unique_ptr<std::FILE, TCFileClose>;

// Writes the line of one encoded picture of `frameSize` bytes of the stream; `videoBytes` is the
// run's video byte count so far. Opens `file` as `fileName` on first use; raises "fopen fail: "
// followed by the name when it cannot.
void WriteVideoStatsLine(CFilePtr& file, const std::string& fileName, const OutputStreamState& ost,
                         int frameSize, int64_t videoBytes);

}  // namespace kestrova
