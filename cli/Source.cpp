#include "cli/Source.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "engine/devices/ImageFileDevice.h"
#include "engine/devices/VolumeDevice.h"

namespace keldrin::cli {

OpenedSource OpenSource(const std::string& path, std::string& error) {
    OpenedSource out;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        error = path + ": " + std::strerror(errno);
        return out;
    }
    if (S_ISBLK(st.st_mode)) {
        out.device = std::make_unique<CVolumeDevice>(path);
        out.kind = "block device";
    } else if (S_ISREG(st.st_mode)) {
        out.device = std::make_unique<CImageFileDevice>(path);
        out.kind = "image file";
    } else {
        error = path + ": not a disk image file or block device";
        return out;
    }
    if (!out.device->Open()) {
        error = path + ": cannot be opened for reading: " + std::strerror(errno);
        out.device.reset();
        return out;
    }
    if (out.device->GetTotalSectors() <= 0) {
        error = path + ": holds no whole 512-byte sector";
        out.device.reset();
    }
    return out;
}

}  // namespace keldrin::cli
