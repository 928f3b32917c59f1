#include "engine/search/ScanBlockCache.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace keldrin {

CScanBlockCache::CScanBlockCache(IStorageDevice* source, int64_t blockSectors)
    : source_(source), blockSectors_(blockSectors > 0 ? blockSectors : 1) {
    total_ = source_ ? std::max<int64_t>(source_->GetTotalSectors(), 0) : 0;
    blocks_ = total_ / blockSectors_ + (total_ % blockSectors_ != 0 ? 1 : 0);
    try {
        current_.assign(static_cast<size_t>(blockSectors_ * kSectorSize), 0);
        next_.assign(static_cast<size_t>(blockSectors_ * kSectorSize), 0);
        thread_ = std::thread([this] { FetchLoop(); });
    } catch (const std::exception&) {
        // Without the second buffer or thread every block is read when it is loaded.
        std::vector<uint8_t>().swap(next_);
    }
}

CScanBlockCache::~CScanBlockCache() {
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        stop_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
}

int64_t CScanBlockCache::BlockLength(int64_t block) const {
    return std::min(blockSectors_, total_ - block * blockSectors_);
}

bool CScanBlockCache::ReadSource(void* buffer, int64_t firstSector, int64_t sectorCount) {
    if (!source_) return false;
    std::lock_guard<std::mutex> lock(sourceMutex_);
    return source_->ReadSectors(buffer, firstSector, sectorCount);
}

void CScanBlockCache::FetchLoop() {
    std::unique_lock<std::mutex> lock(stateMutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stop_ || (requested_ >= 0 && requested_ != fetched_); });
        if (stop_) return;
        const int64_t block = requested_;
        lock.unlock();
        const bool ok = ReadSource(next_.data(), block * blockSectors_, BlockLength(block));
        lock.lock();
        fetched_ = block;
        fetchedOk_ = ok;
        changed_.notify_all();
    }
}

void CScanBlockCache::Request(int64_t block) {
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        requested_ = block;
        fetched_ = -1;
    }
    changed_.notify_all();
}

bool CScanBlockCache::LoadBlock(int64_t index) {
    if (index < 0 || index >= blocks_) return false;
    loaded_ = -1;
    bool ok = false;
    const bool threaded = thread_.joinable();
    bool waited = false;
    if (threaded) {
        std::unique_lock<std::mutex> lock(stateMutex_);
        if (requested_ == index) {
            changed_.wait(lock, [this, index] { return fetched_ == index; });
            ok = fetchedOk_;
            current_.swap(next_);
            requested_ = -1;
            fetched_ = -1;
            waited = true;
        }
    }
    if (!waited) {
        if (threaded) {
            // Out of order: let a fetch in flight end before using the buffers.
            std::unique_lock<std::mutex> lock(stateMutex_);
            if (requested_ >= 0) changed_.wait(lock, [this] { return fetched_ == requested_; });
            requested_ = -1;
            fetched_ = -1;
        }
        ok = ReadSource(current_.data(), index * blockSectors_, BlockLength(index));
    }
    if (threaded && index + 1 < blocks_) Request(index + 1);
    if (!ok) return false;
    loaded_ = index;
    loadedFirst_ = index * blockSectors_;
    loadedCount_ = BlockLength(index);
    return true;
}

const uint8_t* CScanBlockCache::GetBlockData(int64_t firstSector, int64_t sectorCount) const {
    if (loaded_ < 0 || sectorCount < 0 || firstSector < loadedFirst_ ||
        firstSector - loadedFirst_ > loadedCount_ - sectorCount)
        return nullptr;
    return current_.data() + (firstSector - loadedFirst_) * kSectorSize;
}

bool CScanBlockCache::ReadSectors(void* buffer, int64_t firstSector, int64_t sectorCount) {
    constexpr int64_t kMaxSectors = std::numeric_limits<int64_t>::max() / kSectorSize;
    if (firstSector < 0 || sectorCount < 0 || sectorCount > kMaxSectors ||
        firstSector > kMaxSectors - sectorCount)
        return false;
    if (loaded_ < 0) return ReadSource(buffer, firstSector, sectorCount);
    auto* out = static_cast<uint8_t*>(buffer);
    const int64_t end = firstSector + sectorCount;
    const int64_t windowEnd = loadedFirst_ + loadedCount_;
    bool ok = true;
    if (firstSector < loadedFirst_) {
        const int64_t before = std::min(end, loadedFirst_) - firstSector;
        ok = ReadSource(out, firstSector, before) && ok;
    }
    const int64_t insideFirst = std::max(firstSector, loadedFirst_);
    const int64_t insideEnd = std::min(end, windowEnd);
    if (insideFirst < insideEnd)
        std::memcpy(out + (insideFirst - firstSector) * kSectorSize,
                    current_.data() + (insideFirst - loadedFirst_) * kSectorSize,
                    static_cast<size_t>((insideEnd - insideFirst) * kSectorSize));
    if (end > windowEnd) {
        const int64_t after = std::max(windowEnd, firstSector);
        ok = ReadSource(out + (after - firstSector) * kSectorSize, after, end - after) && ok;
    }
    return ok;
}

}  // namespace keldrin
