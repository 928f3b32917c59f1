#include "engine/devices/BufferStorageDevice.h"

#include <cstring>
#include <limits>
#include <new>

namespace keldrin {

bool CBufferStorageDevice::InitRing(int64_t firstSector, int64_t blockSectors, int64_t blockCount) {
    initialised_ = false;
    firstHeld_ = firstSector;
    held_ = 0;
    writePos_ = 0;
    blockSectors_ = 0;
    capacity_ = 0;
    std::vector<unsigned char>().swap(ring_);
    constexpr int64_t kMaxSectors = std::numeric_limits<int64_t>::max() / kSectorSize;
    if (firstSector < 0 || blockSectors <= 0 || blockCount <= 0 || blockSectors > kMaxSectors / blockCount)
        return false;
    try {
        ring_.assign(static_cast<size_t>(blockSectors * blockCount * kSectorSize), 0);
    } catch (const std::exception&) {  // bad_alloc or length_error
        return false;
    }
    blockSectors_ = blockSectors;
    capacity_ = blockSectors * blockCount;
    initialised_ = true;
    return true;
}

bool CBufferStorageDevice::AppendBlock(const void* source) {
    if (!initialised_ || !source) return false;
    std::memcpy(ring_.data() + writePos_ * kSectorSize, source,
                static_cast<size_t>(blockSectors_ * kSectorSize));
    writePos_ = (writePos_ + blockSectors_) % capacity_;
    if (held_ < capacity_) {
        held_ += blockSectors_;
    } else {
        firstHeld_ += blockSectors_;
    }
    return true;
}

bool CBufferStorageDevice::ReadSectors(void* buffer, int64_t firstSector, int64_t sectorCount) {
    if (!initialised_ || sectorCount < 0 || firstSector < firstHeld_) return false;
    const int64_t offset = firstSector - firstHeld_;
    if (offset > held_ - sectorCount) return false;
    if (sectorCount == 0) return true;
    // The oldest sector lies at the write position once the ring is full and at 0 before.
    const int64_t oldest = (writePos_ - held_ + capacity_) % capacity_;
    const int64_t pos = (oldest + offset) % capacity_;
    auto* out = static_cast<unsigned char*>(buffer);
    const int64_t firstPart = sectorCount < capacity_ - pos ? sectorCount : capacity_ - pos;
    std::memcpy(out, ring_.data() + pos * kSectorSize, static_cast<size_t>(firstPart * kSectorSize));
    if (firstPart < sectorCount) {
        std::memcpy(out + firstPart * kSectorSize, ring_.data(),
                    static_cast<size_t>((sectorCount - firstPart) * kSectorSize));
    }
    return true;
}

}  // namespace keldrin
