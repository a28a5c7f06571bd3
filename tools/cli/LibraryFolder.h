#pragma once
// Where kestrova-cli looks for the media libraries first: a "LibAV" folder beside it.
#include <string>

namespace kestrova::cli {

// "<programFolder>LibAV" when that folder exists, else empty (the system's libraries).
std::string MediaLibraryFolder(const std::string& programFolder);

}  // namespace kestrova::cli
