#pragma once
// How the renderer gives up on a picture: the message reaches main(), which prints it and
// exits with an error.
#include <QString>

#include <stdexcept>

namespace kestrova::skinrender {

[[noreturn]] inline void Fail(const QString& message) {
    throw std::runtime_error(message.toStdString());
}

}  // namespace kestrova::skinrender
