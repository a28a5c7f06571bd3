#include "tools/mediagen/LibSupport.h"

#include <stdexcept>

namespace kestrova::mediagen {

std::string LibErrorText(int error) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    if (av_strerror(error, text, sizeof text) < 0) return "error " + std::to_string(error);
    return text;
}

void CheckLib(int result, const std::string& what) {
    if (result < 0) throw std::runtime_error(what + ": " + LibErrorText(result));
}

}  // namespace kestrova::mediagen
