#include "platform/MountDriveInfo.h"

#include <QFileInfo>
#include <QStorageInfo>

namespace kestrova::platform {

namespace {

bool IsOpticalDevice(const QByteArray& device) {
    return device.startsWith("/dev/sr") || device.startsWith("/dev/scd") || device.startsWith("/dev/cdrom") ||
           device.startsWith("/dev/dvd");
}

QString NearestExistingFolder(const QString& path) {
    QFileInfo info(path);
    while (!info.exists()) {
        const QString parent = info.absolutePath();
        if (parent == info.absoluteFilePath()) break;
        info.setFile(parent);
    }
    return info.absoluteFilePath();
}

}  // namespace

bool IsOpticalMount(const QByteArray& fileSystemType, const QByteArray& device, bool readOnly) {
    const QByteArray type = fileSystemType.toLower();
    if (type == "iso9660" || type == "udf") return true;
    return readOnly && IsOpticalDevice(device);
}

bool TMountDriveInfo::IsCdRom(const QString& path) {
    if (path.isEmpty()) return false;
    const QStorageInfo storage(NearestExistingFolder(path));
    return storage.isValid() &&
           IsOpticalMount(storage.fileSystemType(), storage.device(), storage.isReadOnly());
}

}  // namespace kestrova::platform
