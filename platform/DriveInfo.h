#pragma once
#include <QString>

namespace kestrova::platform {

// What kind of drive holds a path.
class TDriveInfo {
public:
    virtual ~TDriveInfo() = default;

    // True when the path lies on an optical disc (CD-ROM, DVD), where nothing can be written.
    virtual bool IsCdRom(const QString& path) = 0;
};

}  // namespace kestrova::platform
