#include "engine/core/outputs/WriteErrors.h"

#include "engine/frame/LibBindings.h"

namespace kestrova {

int OutputWriteError(const AVFormatContext& context, int result) {
    if (result < 0) return result;
    if (context.pb && context.pb->error < 0) return context.pb->error;
    return 0;
}

std::string WriteFailureText(const std::string& what, int error) {
    char text[AV_ERROR_MAX_STRING_SIZE] = "";
    if (ff::av_strerror(error, text, sizeof text) < 0) return what;
    return what + ": " + text;
}

}  // namespace kestrova
