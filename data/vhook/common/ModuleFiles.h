#pragma once
// Files a module reads, named in its options.
#include <string>
#include <string_view>

namespace kestrova::vhook {

// The path as given when such a file exists; a relative path that does not exist from the
// current folder is then looked up in the module's own folder (where its pictures lie). The
// path as given when neither exists, so that the caller fails on it.
std::string ResolveModuleFile(std::string_view path);

}  // namespace kestrova::vhook
