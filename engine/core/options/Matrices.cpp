#include "engine/core/options/Matrices.h"

#include "engine/core/FFmpegException.h"
#include "engine/core/options/OptionValues.h"

namespace kestrova {

namespace {

[[noreturn]] void RaiseSyntaxError(const std::string& text, std::size_t index) {
    throw FFmpegException("Syntax error in matrix " + QuotedForMessage(text) + " at coeff " +
                          std::to_string(index));
}

}  // namespace

TQuantMatrix ParseQuantMatrix(const std::string& text) {
    TQuantMatrix matrix{};
    std::size_t position = 0;
    for (std::size_t i = 0; i < matrix.size(); ++i) {
        const std::size_t comma = text.find(',', position);
        const bool last = i + 1 == matrix.size();
        // Every coefficient but the last must be followed by a comma.
        if (comma == std::string::npos && !last) RaiseSyntaxError(text, i);
        const std::size_t end = comma == std::string::npos ? text.size() : comma;
        int64_t coefficient = 0;
        if (!TryParseInteger(text.substr(position, end - position), coefficient) || coefficient < 0 ||
            coefficient > UINT16_MAX)
            RaiseSyntaxError(text, i);
        matrix[i] = static_cast<uint16_t>(coefficient);
        position = end + 1;
    }
    return matrix;
}

}  // namespace kestrova
