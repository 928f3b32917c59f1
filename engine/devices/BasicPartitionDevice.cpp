#include "engine/devices/BasicPartitionDevice.h"

#include <cstring>
#include <limits>

namespace keldrin {

CBasicPartitionDevice::CBasicPartitionDevice(IStorageDevice* parent, int64_t firstSector, int64_t sectorCount)
    : parent_(parent), firstSector_(firstSector), sectorCount_(sectorCount) {}

bool CBasicPartitionDevice::ReadSectors(void* buffer, int64_t firstSector, int64_t sectorCount) {
    if (!parent_ || firstSector < 0 || firstSector >= sectorCount_ || sectorCount < 0 ||
        sectorCount > sectorCount_)
        return false;
    if (sectorCount > std::numeric_limits<int64_t>::max() / kSectorSize) return false;
    if (firstSector_ < 0 || firstSector_ > std::numeric_limits<int64_t>::max() - firstSector) return false;
    const int64_t inside =
        sectorCount > sectorCount_ - firstSector ? sectorCount_ - firstSector : sectorCount;
    const bool ok = parent_->ReadSectors(buffer, firstSector_ + firstSector, inside);
    if (inside < sectorCount) {
        std::memset(static_cast<unsigned char*>(buffer) + inside * kSectorSize, 0,
                    static_cast<size_t>((sectorCount - inside) * kSectorSize));
    }
    return ok;
}

bool CBasicPartitionDevice::LocateInFile(int64_t firstSector, int64_t sectorCount, int& descriptor,
                                         int64_t& byteOffset) {
    if (!parent_ || firstSector < 0 || sectorCount < 0 || firstSector > sectorCount_ ||
        sectorCount > sectorCount_ - firstSector || firstSector_ < 0 ||
        firstSector_ > std::numeric_limits<int64_t>::max() - firstSector)
        return false;
    return parent_->LocateInFile(firstSector_ + firstSector, sectorCount, descriptor, byteOffset);
}

}  // namespace keldrin
