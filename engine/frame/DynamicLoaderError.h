#pragma once
#include <string>

namespace kestrova {

// The dynamic loader's text for its last failure (dlerror), without the leading "<object>: "
// that names the module: callers put the name in their own message. Empty when none.
std::string DynamicLoaderErrorText();

}  // namespace kestrova
