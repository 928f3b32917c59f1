#include "engine/devices/VolumeDevice.h"

#include <sys/statvfs.h>

#include <climits>
#include <limits>
#include <utility>

namespace keldrin {

CVolumeDevice::CVolumeDevice(std::string path, std::string mountPoint, std::unique_ptr<IRawReader> reader)
    : path_(std::move(path)), mountPoint_(std::move(mountPoint)), access_(std::move(reader)) {
    Open();
}

CVolumeDevice::~CVolumeDevice() {
    Close();
}

bool CVolumeDevice::Open() {
    access_.Close();
    if (path_.empty() || path_.size() >= PATH_MAX) return false;
    return access_.Open(path_);
}

bool CVolumeDevice::Close() {
    access_.Close();
    return true;
}

bool CVolumeDevice::ReadSectors(void* buffer, int64_t firstSector, int64_t sectorCount) {
    return access_.ReadSectors(buffer, firstSector, sectorCount);
}

int64_t CVolumeDevice::GetTotalSectors() {
    return access_.GetTotalSectors();
}

bool CVolumeDevice::GetGeometry(DiskGeometry& geometry) {
    return access_.GetGeometry(geometry);
}

int64_t CVolumeDevice::GetFreeSpace() const {
    if (mountPoint_.empty()) return -1;
    struct statvfs st {};
    if (statvfs(mountPoint_.c_str(), &st) != 0) return -1;
    const unsigned long long blockSize = st.f_frsize ? st.f_frsize : st.f_bsize;
    const unsigned long long blocks = st.f_bavail;
    const auto maxBytes = static_cast<unsigned long long>(std::numeric_limits<int64_t>::max());
    if (blockSize != 0 && blocks > maxBytes / blockSize) return std::numeric_limits<int64_t>::max();
    return static_cast<int64_t>(blocks * blockSize);
}

}  // namespace keldrin
