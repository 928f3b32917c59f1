#include "engine/devices/BufferStorageDevice.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace keldrin {

bool CBufferStorageDevice::InitRing(int64_t firstSector, int64_t blockSectors, int64_t blockCount) {
    initialised_ = false;
    firstHeld_ = firstSector;
    held_ = 0;
    next_ = 0;
    blockSectors_ = 0;
    capacity_ = 0;
    storage_.reset();
    std::vector<const unsigned char*>().swap(blocks_);
    constexpr int64_t kMaxSectors = std::numeric_limits<int64_t>::max() / kSectorSize;
    if (firstSector < 0 || blockSectors <= 0 || blockCount <= 0 || blockSectors > kMaxSectors / blockCount)
        return false;
    try {
        const int64_t bytes = blockSectors * blockCount * kSectorSize;
        if (static_cast<uint64_t>(bytes) > std::numeric_limits<size_t>::max()) return false;
        storage_ = std::make_unique_for_overwrite<unsigned char[]>(static_cast<size_t>(bytes));
        blocks_.assign(static_cast<size_t>(blockCount), nullptr);
    } catch (const std::exception&) {  // bad_alloc or length_error
        storage_.reset();
        return false;
    }
    blockSectors_ = blockSectors;
    capacity_ = blockSectors * blockCount;
    initialised_ = true;
    return true;
}

size_t CBufferStorageDevice::Advance() {
    const size_t place = next_;
    next_ = (next_ + 1) % blocks_.size();
    if (held_ < capacity_) {
        held_ += blockSectors_;
    } else {
        firstHeld_ += blockSectors_;
    }
    return place;
}

bool CBufferStorageDevice::AppendBlock(const void* source) {
    if (!initialised_ || !source) return false;
    const size_t place = Advance();
    unsigned char* copy = storage_.get() + static_cast<int64_t>(place) * blockSectors_ * kSectorSize;
    std::memcpy(copy, source, static_cast<size_t>(blockSectors_ * kSectorSize));
    blocks_[place] = copy;
    return true;
}

bool CBufferStorageDevice::AppendBlockInPlace(const void* block) {
    if (!initialised_ || !block) return false;
    blocks_[Advance()] = static_cast<const unsigned char*>(block);
    return true;
}

bool CBufferStorageDevice::ReadSectors(void* buffer, int64_t firstSector, int64_t sectorCount) {
    if (!initialised_ || sectorCount < 0 || firstSector < firstHeld_) return false;
    const int64_t offset = firstSector - firstHeld_;
    if (offset > held_ - sectorCount) return false;
    // The oldest block lies at the next place once the ring is full and at 0 before.
    const auto places = static_cast<int64_t>(blocks_.size());
    const int64_t oldest = held_ < capacity_ ? 0 : static_cast<int64_t>(next_);
    auto* out = static_cast<unsigned char*>(buffer);
    for (int64_t done = 0; done < sectorCount;) {
        const int64_t at = offset + done;
        const int64_t inBlock = at % blockSectors_;
        const int64_t count = std::min(sectorCount - done, blockSectors_ - inBlock);
        const unsigned char* block = blocks_[static_cast<size_t>((oldest + at / blockSectors_) % places)];
        std::memcpy(out + done * kSectorSize, block + inBlock * kSectorSize,
                    static_cast<size_t>(count * kSectorSize));
        done += count;
    }
    return true;
}

}  // namespace keldrin
