#include "engine/frame/LibBindings.h"

namespace kestrova::ff {

#define KESTROVA_ENTRY(name) decltype(&::name) name = nullptr;
#define KESTROVA_MYUTIL(name, symbol) decltype(&::symbol) name = nullptr;
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
