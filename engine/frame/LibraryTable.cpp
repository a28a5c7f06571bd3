#include "engine/frame/LibraryTable.h"

#include "engine/frame/LibraryBinding.h"

namespace kestrova {

namespace {

// Indexed by TLibraryId. myutil is the C runtime itself: the engine's "my_" functions are the
// C library's own stream, formatting and number functions.
const std::array<TLibraryEntry, LibraryCount> Table{{
        {"avcodec", 59, &ff::BindAvcodec, &ff::UnbindAvcodec},
        {"avdevice", 59, &ff::BindNothing, &ff::UnbindNothing},
        {"avfilter", 8, &ff::BindAvfilter, &ff::UnbindAvfilter},
        {"avformat", 59, &ff::BindAvformat, &ff::UnbindAvformat},
        {"avutil", 57, &ff::BindAvutil, &ff::UnbindAvutil},
        {"swscale", 6, &ff::BindSwscale, &ff::UnbindSwscale},
        {"c", 6, &ff::BindMyutil, &ff::UnbindMyutil},
        {"SDL2-2.0", 0, nullptr, nullptr},
        {"swresample", 4, &ff::BindSwresample, &ff::UnbindSwresample},
}};

}  // namespace

TLibrarySet RequiredLibraries() {
    TLibrarySet set;
    for (TLibraryId id :
         {libAVCodec, libAVFilter, libAVFormat, libAVUtil, libSWScale, libMyUtil, libSWResample})
        set.set(id);
    return set;
}

const TLibraryEntry& LibraryEntry(TLibraryId id) {
    return Table.at(static_cast<std::size_t>(id));
}

std::string LibraryFileName(TLibraryId id) {
    const TLibraryEntry& entry = LibraryEntry(id);
    std::string name("lib");
    name.append(entry.BaseName).append(".so");
    if (entry.Version >= 0) name.append(".").append(std::to_string(entry.Version));
    return name;
}

const std::array<TLibraryId, LibraryCount>& LibraryLoadOrder() {
    static const std::array<TLibraryId, LibraryCount> order{libMyUtil,   libAVUtil,   libSWResample,
                                                            libSWScale,  libAVCodec,  libAVFormat,
                                                            libAVFilter, libAVDevice, libSDL};
    return order;
}

}  // namespace kestrova
