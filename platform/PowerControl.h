#pragma once

namespace kestrova::platform {

// Turning the computer off at the end of a run.
class TPowerControl {
public:
    virtual ~TPowerControl() = default;

    // Asks the system to power off, without forcing past sessions or programs that hold it
    // up. True when the system accepted the request.
    virtual bool PowerOff() = 0;
};

}  // namespace kestrova::platform
