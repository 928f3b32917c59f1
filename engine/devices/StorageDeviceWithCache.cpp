#include "engine/devices/StorageDeviceWithCache.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace keldrin {
namespace {

constexpr int64_t kMaxSectors = std::numeric_limits<int64_t>::max() / kSectorSize;

}  // namespace

CStorageDeviceWithCache::CStorageDeviceWithCache(IStorageDevice* parent) : parent_(parent) {
    SetBlockSize(kDefaultCacheBlockSectors);
}

bool CStorageDeviceWithCache::SetBlockSize(int64_t sectors) {
    loadedBlock_ = -1;
    loadedCount_ = 0;
    blockSectors_ = 0;
    std::vector<unsigned char>().swap(window_);
    if (sectors <= 0 || sectors > kMaxSectors) return false;
    try {
        window_.assign(static_cast<size_t>(sectors * kSectorSize), 0);
    } catch (const std::exception&) {  // bad_alloc or length_error
        return false;
    }
    blockSectors_ = sectors;
    return true;
}

int64_t CStorageDeviceWithCache::GetTotalSectors() {
    return parent_ ? parent_->GetTotalSectors() : 0;
}

bool CStorageDeviceWithCache::IsValidBlock(int64_t index) {
    if (blockSectors_ <= 0 || index < 0) return false;
    const int64_t total = GetTotalSectors();
    if (total <= 0) return false;
    const int64_t blocks = total / blockSectors_ + (total % blockSectors_ != 0 ? 1 : 0);
    return index < blocks;
}

bool CStorageDeviceWithCache::LoadBlock(int64_t index) {
    if (!parent_ || !IsValidBlock(index)) return false;
    const int64_t total = GetTotalSectors();
    const int64_t start = index * blockSectors_;
    const int64_t count = std::min(blockSectors_, total - start);
    loadedBlock_ = -1;
    if (!parent_->ReadSectors(window_.data(), start, count)) return false;
    loadedBlock_ = index;
    loadedFirst_ = start;
    loadedCount_ = count;
    return true;
}

bool CStorageDeviceWithCache::ReadSectors(void* buffer, int64_t firstSector, int64_t sectorCount) {
    if (!parent_) return false;
    if (loadedBlock_ < 0) return parent_->ReadSectors(buffer, firstSector, sectorCount);
    if (firstSector < 0 || sectorCount < 0 || sectorCount > kMaxSectors ||
        firstSector > kMaxSectors - sectorCount)
        return false;
    auto* out = static_cast<unsigned char*>(buffer);
    const int64_t end = firstSector + sectorCount;
    // Only the sectors the window really holds: past the end of a short last block it has none.
    const int64_t windowEnd = loadedFirst_ + loadedCount_;
    bool ok = true;
    if (firstSector < loadedFirst_) {
        const int64_t before = std::min(end, loadedFirst_) - firstSector;
        ok = parent_->ReadSectors(out, firstSector, before);
        if (end <= loadedFirst_) return ok;
    }
    const int64_t insideFirst = std::max(firstSector, loadedFirst_);
    const int64_t insideEnd = std::min(end, windowEnd);
    if (insideFirst < insideEnd) {
        std::memcpy(out + (insideFirst - firstSector) * kSectorSize,
                    window_.data() + (insideFirst - loadedFirst_) * kSectorSize,
                    static_cast<size_t>((insideEnd - insideFirst) * kSectorSize));
    }
    const int64_t afterFirst = std::max(firstSector, windowEnd);
    if (afterFirst < end) {
        ok = parent_->ReadSectors(out + (afterFirst - firstSector) * kSectorSize, afterFirst,
                                  end - afterFirst) &&
             ok;
    }
    return ok;
}

}  // namespace keldrin
