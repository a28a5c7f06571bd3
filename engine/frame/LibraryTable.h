#pragma once
// The media library table: which modules the engine knows, their file names, and the order in
// which a set is loaded so that each module finds its dependencies already in the process.
#include <array>
#include <bitset>
#include <string>

namespace kestrova {

enum TLibraryId : int {
    libAVCodec = 0,
    libAVDevice = 1,
    libAVFilter = 2,
    libAVFormat = 3,
    libAVUtil = 4,
    libSWScale = 5,
    libMyUtil = 6,
    libSDL = 7,
    libSWResample = 8
};
inline constexpr int LibraryCount = 9;
using TLibrarySet = std::bitset<LibraryCount>;

// avcodec, avfilter, avformat, avutil, swscale, myutil and swresample: what the engine loads.
TLibrarySet RequiredLibraries();

struct TLibraryEntry {
    const char* BaseName;  // "avcodec"
    int Version;           // major version of the shared object; -1 when the name has none
    // Binds the library's entry points from an opened module (throws TLibraryBindError on the
    // first missing one); null for a library the engine never binds.
    void (*Bind)(void* module, const std::string& fileName);
    void (*Unbind)();
};

const TLibraryEntry& LibraryEntry(TLibraryId id);

// "lib" + base name + ".so" (+ "." + version): "libavcodec.so.59", "libc.so.6".
std::string LibraryFileName(TLibraryId id);

// Dependencies first: the C runtime, avutil, swresample, swscale, avcodec, avformat, avfilter,
// then the two the engine never loads.
const std::array<TLibraryId, LibraryCount>& LibraryLoadOrder();

}  // namespace kestrova
