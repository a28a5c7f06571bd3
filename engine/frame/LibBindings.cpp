#include "LibBindings.h"

namespace kestrova::ff {

#define KESTROVA_ENTRY(name) decltype(&::name) name = nullptr;
#define KESTROVA_MYUTIL(name, symbol) decltype(&::symbol) name = nullptr;
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
