#include "engine/search/ScanBlockCache.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace keldrin {
namespace {

// Blocks the ring holds: small enough to stay in the processor's caches, deep enough that the
// reader is woken once per four blocks.
constexpr size_t kRingSlots = 8;

}  // namespace

CScanBlockCache::CScanBlockCache(IStorageDevice* source, int64_t blockSectors)
    : source_(source), blockSectors_(blockSectors > 0 ? blockSectors : 1) {
    total_ = source_ ? std::max<int64_t>(source_->GetTotalSectors(), 0) : 0;
    blocks_ = total_ / blockSectors_ + (total_ % blockSectors_ != 0 ? 1 : 0);
    const auto bytes = static_cast<size_t>(blockSectors_ * kSectorSize);
    try {
        slots_.resize(kRingSlots);
        for (Slot& s : slots_) s.data.assign(bytes, 0);
        thread_ = std::thread([this] { FetchLoop(); });
    } catch (const std::exception&) {
        // Without the ring or the thread every block is read when it is loaded.
        slots_.clear();
        try {
            slots_.resize(1);
            slots_[0].data.assign(bytes, 0);
        } catch (const std::exception&) {
            slots_.clear();  // then nothing is loaded and every read goes to the source
        }
    }
}

CScanBlockCache::~CScanBlockCache() {
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        stop_ = true;
    }
    fetcherWake_.notify_all();
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

bool CScanBlockCache::ReadAheadReady() const {
    return running_ && fetchNext_ < blocks_ && fetchNext_ - head_ < static_cast<int64_t>(slots_.size());
}

void CScanBlockCache::FetchLoop() {
    std::unique_lock<std::mutex> lock(stateMutex_);
    for (;;) {
        fetcherWaiting_ = true;
        fetcherWake_.wait(lock, [this] { return stop_ || ReadAheadReady(); });
        fetcherWaiting_ = false;
        if (stop_) return;
        const int64_t block = fetchNext_;
        fetching_ = true;
        lock.unlock();
        // The slot's old block lies before head_: nobody looks at it any more.
        Slot& slot = SlotOf(block);
        const bool ok = ReadSource(slot.data.data(), block * blockSectors_, BlockLength(block));
        lock.lock();
        slot.ok = ok;
        fetching_ = false;
        ++fetchNext_;
        if (consumerWaiting_) consumerWake_.notify_one();
    }
}

void CScanBlockCache::StopReadAhead(std::unique_lock<std::mutex>& lock) {
    running_ = false;
    consumerWaiting_ = true;
    consumerWake_.wait(lock, [this] { return !fetching_; });
    consumerWaiting_ = false;
}

bool CScanBlockCache::LoadBlock(int64_t index) {
    if (index < 0 || index >= blocks_) return false;
    loaded_ = -1;
    loadedData_ = nullptr;
    if (slots_.empty()) return false;
    const bool sequential = last_ >= 0 && index == last_ + 1;
    last_ = index;
    bool ok = false;
    if (thread_.joinable()) {
        std::unique_lock<std::mutex> lock(stateMutex_);
        if (sequential && running_ && index < fetchNext_ + 1 && index >= head_) {
            // Frees the slots before index; the reader is woken once half the ring is free.
            head_ = index;
            const auto free = head_ + static_cast<int64_t>(slots_.size()) - fetchNext_;
            if (fetcherWaiting_ && free >= static_cast<int64_t>(slots_.size() / 2) && ReadAheadReady())
                fetcherWake_.notify_one();
            consumerWaiting_ = true;
            consumerWake_.wait(lock, [this, index] { return fetchNext_ > index || !running_; });
            consumerWaiting_ = false;
            ok = SlotOf(index).ok;
        } else {
            StopReadAhead(lock);
            lock.unlock();
            Slot& slot = SlotOf(index);
            slot.ok = ReadSource(slot.data.data(), index * blockSectors_, BlockLength(index));
            ok = slot.ok;
            lock.lock();
            head_ = index;
            fetchNext_ = index + 1;
            running_ = true;
            if (ReadAheadReady()) fetcherWake_.notify_one();
        }
    } else {
        Slot& slot = SlotOf(index);
        ok = ReadSource(slot.data.data(), index * blockSectors_, BlockLength(index));
    }
    if (!ok) return false;
    loaded_ = index;
    loadedData_ = SlotOf(index).data.data();
    loadedFirst_ = index * blockSectors_;
    loadedCount_ = BlockLength(index);
    return true;
}

const uint8_t* CScanBlockCache::GetBlockData(int64_t firstSector, int64_t sectorCount) const {
    if (loaded_ < 0 || sectorCount < 0 || firstSector < loadedFirst_ ||
        firstSector - loadedFirst_ > loadedCount_ - sectorCount)
        return nullptr;
    return loadedData_ + (firstSector - loadedFirst_) * kSectorSize;
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
                    loadedData_ + (insideFirst - loadedFirst_) * kSectorSize,
                    static_cast<size_t>((insideEnd - insideFirst) * kSectorSize));
    if (end > windowEnd) {
        const int64_t after = std::max(windowEnd, firstSector);
        ok = ReadSource(out + (after - firstSector) * kSectorSize, after, end - after) && ok;
    }
    return ok;
}

}  // namespace keldrin
