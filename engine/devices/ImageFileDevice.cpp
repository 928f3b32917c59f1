#include "engine/devices/ImageFileDevice.h"

#include <climits>
#include <limits>

namespace keldrin {

CImageFileDevice::CImageFileDevice(const std::string& path) : file_(MakeBlockDeviceReader()) {
    if (!path.empty() && path.size() < PATH_MAX) path_ = path;
    Open();
}

CImageFileDevice::~CImageFileDevice() {
    Close();
}

bool CImageFileDevice::Open() {
    file_->Close();
    if (path_.empty()) return false;
    return file_->Open(path_);
}

bool CImageFileDevice::Close() {
    file_->Close();
    return true;
}

bool CImageFileDevice::ReadSectors(void* buffer, int64_t firstSector, int64_t sectorCount) {
    constexpr int64_t kMaxSectors = std::numeric_limits<int64_t>::max() / kSectorSize;
    if (!file_->IsOpen() || sectorCount < 0 || firstSector < 0 || sectorCount > kMaxSectors ||
        firstSector > kMaxSectors - sectorCount)
        return false;
    const int64_t bytes = sectorCount * kSectorSize;
    return file_->ReadAt(buffer, bytes, firstSector * kSectorSize) == bytes;
}

bool CImageFileDevice::LocateInFile(int64_t firstSector, int64_t sectorCount, int& descriptor,
                                    int64_t& byteOffset) {
    const int fd = file_->FileDescriptor();
    if (fd < 0 || firstSector < 0 || sectorCount < 0) return false;
    const int64_t total = GetTotalSectors();
    if (firstSector > total || sectorCount > total - firstSector) return false;
    descriptor = fd;
    byteOffset = firstSector * kSectorSize;
    return true;
}

int64_t CImageFileDevice::GetTotalSectors() {
    if (!file_->IsOpen()) return 0;
    const int64_t bytes = file_->SizeBytes();
    return bytes > 0 ? bytes / kSectorSize : 0;
}

}  // namespace keldrin
