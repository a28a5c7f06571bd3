#include "engine/frame/LibraryBinding.h"

#include "engine/frame/DynamicLoaderError.h"
#include "engine/frame/LibBindings.h"

#include <dlfcn.h>

namespace kestrova::ff {

namespace {

void* Lookup(void* module, const char* name, const std::string& fileName) {
    dlerror();  // clear a stale error so the text below belongs to this lookup
    void* symbol = dlsym(module, name);
    if (!symbol) {
        std::string reason = DynamicLoaderErrorText();
        if (reason.empty()) reason = "symbol has a null address";
        throw TLibraryBindError(std::string("Load function ") + name + "@" + fileName + " error: " + reason);
    }
    return symbol;
}

template <class Fn>
void Assign(Fn& slot, void* symbol) {
    slot = reinterpret_cast<Fn>(symbol);
}

}  // namespace

// ---- unbinding: every pointer of the list emptied ----
#define KESTROVA_ENTRY(name) name = nullptr;
#define KESTROVA_MYUTIL(name, symbol) name = nullptr;
void UnbindAvutil() {
#include "engine/frame/bindings/avutil.inc"
}
void UnbindSwresample() {
#include "engine/frame/bindings/swresample.inc"
}
void UnbindSwscale() {
#include "engine/frame/bindings/swscale.inc"
}
void UnbindAvcodec() {
#include "engine/frame/bindings/avcodec.inc"
}
void UnbindAvformat() {
#include "engine/frame/bindings/avformat.inc"
}
void UnbindAvfilter() {
#include "engine/frame/bindings/avfilter.inc"
}
void UnbindMyutil() {
#include "engine/frame/bindings/myutil.inc"
}
#undef KESTROVA_ENTRY
#undef KESTROVA_MYUTIL

void UnbindNothing() {}
void BindNothing(void*, const std::string&) {}

// ---- binding: each name looked up in list order; a failure leaves the list empty ----
#define KESTROVA_ENTRY(name) Assign(name, Lookup(module, #name, fileName));
#define KESTROVA_MYUTIL(name, symbol) Assign(name, Lookup(module, #symbol, fileName));
void BindAvutil(void* module, const std::string& fileName) {
    try {
#include "engine/frame/bindings/avutil.inc"
    } catch (...) {
        UnbindAvutil();
        throw;
    }
}
void BindSwresample(void* module, const std::string& fileName) {
    try {
#include "engine/frame/bindings/swresample.inc"
    } catch (...) {
        UnbindSwresample();
        throw;
    }
}
void BindSwscale(void* module, const std::string& fileName) {
    try {
#include "engine/frame/bindings/swscale.inc"
    } catch (...) {
        UnbindSwscale();
        throw;
    }
}
void BindAvcodec(void* module, const std::string& fileName) {
    try {
#include "engine/frame/bindings/avcodec.inc"
    } catch (...) {
        UnbindAvcodec();
        throw;
    }
}
void BindAvformat(void* module, const std::string& fileName) {
    try {
#include "engine/frame/bindings/avformat.inc"
    } catch (...) {
        UnbindAvformat();
        throw;
    }
}
void BindAvfilter(void* module, const std::string& fileName) {
    try {
#include "engine/frame/bindings/avfilter.inc"
    } catch (...) {
        UnbindAvfilter();
        throw;
    }
}
void BindMyutil(void* module, const std::string& fileName) {
    try {
#include "engine/frame/bindings/myutil.inc"
    } catch (...) {
        UnbindMyutil();
        throw;
    }
}
#undef KESTROVA_ENTRY
#undef KESTROVA_MYUTIL

}  // namespace kestrova::ff
