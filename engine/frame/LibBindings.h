#pragma once
// Process-wide entry points of the media libraries, bound by name at run time.
// Call them as ff::avcodec_open2(...). A pointer is empty while its library is not bound.
#include "engine/frame/LibHeaders.h"

#include <string>

namespace kestrova::ff {

#define KESTROVA_ENTRY(name) extern decltype(&::name) name;
#define KESTROVA_MYUTIL(name, symbol) extern decltype(&::symbol) name;
// The lists in the libraries' loading order.
// clang-format off
#include "engine/frame/bindings/avutil.inc"
#include "engine/frame/bindings/swresample.inc"
#include "engine/frame/bindings/swscale.inc"
#include "engine/frame/bindings/avcodec.inc"
#include "engine/frame/bindings/avformat.inc"
#include "engine/frame/bindings/avfilter.inc"
#include "engine/frame/bindings/myutil.inc"
// clang-format on
#undef KESTROVA_ENTRY
#undef KESTROVA_MYUTIL

}  // namespace kestrova::ff
