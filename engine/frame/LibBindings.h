#pragma once
// Process-wide entry points of the media libraries, bound by name at run time.
// Call them as ff::avcodec_open2(...). A pointer is empty while its library is not bound.
#include "LibHeaders.h"

#include <string>

namespace kestrova::ff {

#define KESTROVA_ENTRY(name) extern decltype(&::name) name;
#define KESTROVA_MYUTIL(name, symbol) extern decltype(&::symbol) name;
#include "bindings/avutil.inc"
#include "bindings/swresample.inc"
#include "bindings/swscale.inc"
#include "bindings/avcodec.inc"
#include "bindings/avformat.inc"
#include "bindings/avfilter.inc"
#include "bindings/myutil.inc"
#undef KESTROVA_ENTRY
#undef KESTROVA_MYUTIL

} // namespace kestrova::ff
