#pragma once
// The exception the engine raises for bad options and failed set-up or encoding steps.
// Its message is the text shown to the user, so it is kept exactly as formed.
#include <stdexcept>
#include <string>

namespace kestrova {

class FFmpegException : public std::runtime_error {
public:
    explicit FFmpegException(const std::string& message) : std::runtime_error(message) {}
    explicit FFmpegException(const char* message) : std::runtime_error(message) {}
};

}  // namespace kestrova
