#include "ui/controller/DeviceRows.h"

#include "engine/devices/FileSystemTypeName.h"
#include "ui/controller/Format.h"

namespace keldrin::ui {
namespace {

int64_t Sectors(const VolumeEntry& entry) {
    return entry.device ? entry.device->GetTotalSectors() : 0;
}

}  // namespace

bool IsListed(const VolumeEntry& entry) {
    return entry.device && entry.fileSystemType != kFsUnknown && entry.fileSystemType != kFsRaw;
}

DeviceRow VolumeRow(const VolumeEntry& entry) {
    DeviceRow row;
    // Linux has no drive letters: the mount point stands in, "*" when the volume is not mounted.
    const std::string where = entry.mountPoint.empty() ? "*" : entry.mountPoint;
    row.device = where + " : " + entry.label + "  (" + FileSystemTypeName(entry.fileSystemType) + ")";
    row.capacity = FormatSectors(Sectors(entry));
    row.information = entry.isFloppy ? "Floppy drive" : entry.diskText;
    row.icon = entry.isFloppy ? kIconFloppy : entry.isUsb ? kIconUsb : kIconDisk;
    return row;
}

DeviceRow ImageRow(const VolumeEntry& entry, const std::string& imageName, bool numbered) {
    DeviceRow row;
    row.device = "Image File, " + imageName;
    if (numbered) row.device += " #" + std::to_string(entry.partitionNumber);
    row.device += "  (" + std::string(FileSystemTypeName(entry.fileSystemType)) + ")";
    row.capacity = FormatSectors(Sectors(entry));
    // The label goes with the image's name, so the device column stays short enough to read.
    row.information = entry.label.empty() ? entry.diskText : entry.label + ", " + entry.diskText;
    row.icon = kIconImage;
    row.isImage = true;
    return row;
}

}  // namespace keldrin::ui
