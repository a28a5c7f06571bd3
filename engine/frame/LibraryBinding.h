#pragma once
// Binding and unbinding of each library's entry points (the lists in bindings/*.inc).
#include <stdexcept>
#include <string>

namespace kestrova {

// A module lacks one of the listed entry points: "Load function %s@%s error: %s".
class TLibraryBindError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace kestrova

namespace kestrova::ff {

// Each Bind* looks every name of its list up in the module, in list order. On a missing name it
// empties the pointers already set (no pointer may outlive a failed bind) and throws.
// Each Unbind* empties every pointer of its list.
void BindAvutil(void* module, const std::string& fileName);
void BindSwresample(void* module, const std::string& fileName);
void BindSwscale(void* module, const std::string& fileName);
void BindAvcodec(void* module, const std::string& fileName);
void BindAvformat(void* module, const std::string& fileName);
void BindAvfilter(void* module, const std::string& fileName);
void BindMyutil(void* module, const std::string& fileName);
void BindNothing(void* module, const std::string& fileName);

void UnbindAvutil();
void UnbindSwresample();
void UnbindSwscale();
void UnbindAvcodec();
void UnbindAvformat();
void UnbindAvfilter();
void UnbindMyutil();
void UnbindNothing();

}  // namespace kestrova::ff
