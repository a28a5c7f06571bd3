#include "engine/core/options/VideoHookOption.h"

#include <algorithm>

namespace kestrova {

std::vector<std::string> SplitVideoHookArguments(const std::string& value) {
    const char separator = value.find('|') != std::string::npos ? '|' : ' ';
    std::vector<std::string> arguments;
    std::size_t position = 0;
    while (position < value.size() && arguments.size() < kMaxVideoHookArguments) {
        const std::size_t end = std::min(value.find(separator, position), value.size());
        if (end > position) arguments.push_back(value.substr(position, end - position));
        position = end + 1;
    }
    return arguments;
}

}  // namespace kestrova
