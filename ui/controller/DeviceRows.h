// The rows of the device list: which volumes are listed and how each is shown.
#pragma once

#include <string>

#include "engine/devices/VolumeEntry.h"

namespace keldrin::ui {

// Row icons of the device list.
enum DeviceIcon : int { kIconFloppy = 0, kIconDisk = 2, kIconImage = 4, kIconUsb = 6 };

struct DeviceRow {
    std::string device;  // "/mnt/data : DATA  (NTFS)", "* : root  (EXT3)", "Image File, ..."
    std::string capacity;
    std::string information;
    int icon = kIconDisk;
    bool isImage = false;
};

// Every volume whose file system is recognised, mounted or not: reading needs no mount here.
bool IsListed(const VolumeEntry& entry);
// "<mount point> : <label>  (<file system>)", "*" standing for a volume that is not mounted.
DeviceRow VolumeRow(const VolumeEntry& entry);
// "Image File, <image name>[ #<partition>]  (<file system>)"; numbered when the image holds more
// than one listed volume.
DeviceRow ImageRow(const VolumeEntry& entry, const std::string& imageName, bool numbered);

}  // namespace keldrin::ui
