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
    int descriptor = -1;
    int64_t offset = 0;
    if (total_ > 0 && source_->LocateInFile(0, total_, descriptor, offset))
        mapping_.Map(descriptor, offset, total_ * kSectorSize);
    // A mapped block needs a buffer only when its pages cannot be made present.
    const auto bytes = mapping_.Data() ? size_t{0} : static_cast<size_t>(blockSectors_ * kSectorSize);
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

bool CScanBlockCache::FillSlot(Slot& slot, int64_t block) {
    const int64_t first = block * blockSectors_;
    const int64_t count = BlockLength(block);
    slot.bytes = nullptr;
    slot.mapped = mapping_.Populate(first * kSectorSize, count * kSectorSize);
    slot.prepared = false;
    if (slot.mapped) {
        slot.bytes = mapping_.Data() + first * kSectorSize;
        return true;
    }
    // Not mapped, or pages the kernel cannot read: the source reads them, or says why not.
    if (slot.data.empty()) {
        try {
            slot.data.resize(static_cast<size_t>(blockSectors_ * kSectorSize));
        } catch (const std::exception&) {
            return false;
        }
    }
    if (!ReadSource(slot.data.data(), first, count)) return false;
    slot.bytes = slot.data.data();
    return true;
}

void CScanBlockCache::Prepare(Slot& slot, int64_t sectorCount) {
    slot.notes.clear();
    try {
        prepass_->PrepareBlock(slot.bytes, sectorCount, slot.notes);
        slot.prepared = true;
    } catch (...) {  // nothing may escape the reader thread; the block just has no notes
        slot.notes.clear();
    }
}

void CScanBlockCache::SetBlockPrepass(const IBlockPrepass* prepass) {
    if (thread_.joinable()) {
        // Blocks read ahead with the former prepass are read again on their load.
        std::unique_lock<std::mutex> lock(stateMutex_);
        StopReadAhead(lock);
        prepass_ = prepass;
    } else {
        prepass_ = prepass;
    }
    last_ = -1;
    loaded_ = -1;
    loadedData_ = nullptr;
    loadedMapped_ = false;
    loadedNotes_ = nullptr;
}

const std::vector<uint32_t>* CScanBlockCache::GetBlockNotes(int64_t firstSector) const {
    return loaded_ >= 0 && firstSector == loadedFirst_ ? loadedNotes_ : nullptr;
}

bool CScanBlockCache::ReadAheadReady() const {
    return running_ && fetchNext_ < blocks_ && fetchNext_ - head_ < static_cast<int64_t>(slots_.size());
}

int64_t CScanBlockCache::NextToPrepare() const {
    // The block after the loaded one is left to the scan thread: both then work at once instead
    // of one waiting for the other to finish a block.
    return std::max(prepareNext_, head_ + 2);
}

bool CScanBlockCache::PrepareReady() const {
    return running_ && prepass_ && NextToPrepare() < fetchNext_;
}

void CScanBlockCache::FetchLoop() {
    std::unique_lock<std::mutex> lock(stateMutex_);
    for (;;) {
        fetcherWaiting_ = true;
        fetcherWake_.wait(lock, [this] { return stop_ || ReadAheadReady() || PrepareReady(); });
        fetcherWaiting_ = false;
        if (stop_) return;
        fetching_ = true;
        if (ReadAheadReady()) {
            // Reading first: it is quick, and keeps the blocks ahead ready.
            const int64_t block = fetchNext_;
            lock.unlock();
            // The slot's old block lies before head_: nobody looks at it any more.
            Slot& slot = SlotOf(block);
            const bool ok = FillSlot(slot, block);
            lock.lock();
            slot.ok = ok;
            ++fetchNext_;
        } else {
            // A block read and not yet loaded: the scan thread waits for it only if it gets there
            // first.
            const int64_t block = NextToPrepare();
            prepareNext_ = block + 1;
            preparing_ = block;
            lock.unlock();
            Slot& slot = SlotOf(block);
            if (slot.ok) Prepare(slot, BlockLength(block));
            lock.lock();
            preparing_ = -1;
        }
        fetching_ = false;
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
    loadedMapped_ = false;
    loadedNotes_ = nullptr;
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
            consumerWake_.wait(
                lock, [this, index] { return (fetchNext_ > index && preparing_ != index) || !running_; });
            consumerWaiting_ = false;
            // A block the reader has not started on is left without notes: the analysers do the
            // work themselves rather than wait.
            if (prepareNext_ <= index) prepareNext_ = index + 1;
            ok = SlotOf(index).ok;
        } else {
            StopReadAhead(lock);
            lock.unlock();
            Slot& slot = SlotOf(index);
            slot.ok = FillSlot(slot, index);
            ok = slot.ok;
            lock.lock();
            head_ = index;
            fetchNext_ = index + 1;
            prepareNext_ = index + 1;
            running_ = true;
            if (ReadAheadReady()) fetcherWake_.notify_one();
        }
    } else {
        ok = FillSlot(SlotOf(index), index);
    }
    if (!ok) return false;
    const Slot& slot = SlotOf(index);
    loaded_ = index;
    loadedData_ = slot.bytes;
    loadedMapped_ = slot.mapped;
    loadedNotes_ = slot.prepared ? &slot.notes : nullptr;
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

const uint8_t* CScanBlockCache::GetLastingBlockData(int64_t firstSector, int64_t sectorCount) const {
    return loadedMapped_ ? GetBlockData(firstSector, sectorCount) : nullptr;
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
