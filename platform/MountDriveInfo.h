#pragma once
#include "platform/DriveInfo.h"

#include <QByteArray>

namespace kestrova::platform {

// Reads the drive type from the mount that holds the path (a path that does not exist yet is
// judged by its nearest existing parent).
class TMountDriveInfo : public TDriveInfo {
public:
    bool IsCdRom(const QString& path) override;
};

// The mount of an optical disc: a disc file system (ISO 9660, UDF), or an optical device
// mounted read-only.
bool IsOpticalMount(const QByteArray& fileSystemType, const QByteArray& device, bool readOnly);

}  // namespace kestrova::platform
