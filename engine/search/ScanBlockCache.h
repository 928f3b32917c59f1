// The block cache of the sector scan, read ahead: while the analysers work on the loaded block, a
// second thread reads the following ones into a small ring of buffers, so the analysers never wait
// for the device unless it is slower than they are. The reader is woken only when half the ring is
// free again, which keeps the hand-overs between the threads few. Each block is read from the
// device once. A regular image file is mapped read-only instead: the reader then only makes the
// pages of the blocks ahead present, and the analysers look at the page cache itself. With the
// time this frees, the reader runs an analyser's prepass on blocks ahead, so that the pass over the
// data is shared between two processors.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/devices/ReadOnlyMapping.h"
#include "engine/devices/StorageDevice.h"
#include "engine/search/ScanBlockView.h"

namespace keldrin {

class CScanBlockCache final : public IStorageDevice, public IScanBlockView {
  public:
    // The source is not owned; blockSectors > 0.
    CScanBlockCache(IStorageDevice* source, int64_t blockSectors);
    ~CScanBlockCache() override;
    CScanBlockCache(const CScanBlockCache&) = delete;
    CScanBlockCache& operator=(const CScanBlockCache&) = delete;

    int64_t GetBlockCount() const { return blocks_; }
    // Makes block index the loaded one; loading index + 1 next finds it read already. Any other
    // order reads the block there and then and reads ahead from it. A failed read leaves no block
    // loaded, so that reads go to the source.
    bool LoadBlock(int64_t index);
    int64_t GetLoadedBlock() const { return loaded_; }

    // Sectors of the loaded block come from memory, the others from the source.
    bool ReadSectors(void* buffer, int64_t firstSector, int64_t sectorCount) override;
    int64_t GetTotalSectors() override { return total_; }
    bool Open() override { return true; }
    bool Close() override { return true; }
    const uint8_t* GetBlockData(int64_t firstSector, int64_t sectorCount) const override;
    const uint8_t* GetLastingBlockData(int64_t firstSector, int64_t sectorCount) const override;
    void SetBlockPrepass(const IBlockPrepass* prepass) override;
    const std::vector<uint32_t>* GetBlockNotes(int64_t firstSector) const override;

  private:
    struct Slot {
        std::vector<uint8_t> data;       // mapped sources allocate it only for a block read the plain way
        const uint8_t* bytes = nullptr;  // the block's bytes: in data or in the mapping
        bool mapped = false;
        std::vector<uint32_t> notes;
        bool prepared = false;  // notes were made by the prepass
        bool ok = false;
    };

    void FetchLoop();
    bool ReadAheadReady() const;    // with stateMutex_ held
    bool PrepareReady() const;      // with stateMutex_ held
    int64_t NextToPrepare() const;  // with stateMutex_ held
    void StopReadAhead(std::unique_lock<std::mutex>& lock);
    int64_t BlockLength(int64_t block) const;
    bool ReadSource(void* buffer, int64_t firstSector, int64_t sectorCount);
    // Makes block's bytes ready in slot: present in the mapping or read into the slot's buffer.
    bool FillSlot(Slot& slot, int64_t block);
    void Prepare(Slot& slot, int64_t sectorCount);
    Slot& SlotOf(int64_t block) { return slots_[static_cast<size_t>(block) % slots_.size()]; }

    IStorageDevice* source_;
    int64_t blockSectors_;
    int64_t total_ = 0;
    int64_t blocks_ = 0;
    CReadOnlyMapping mapping_;
    std::vector<Slot> slots_;
    int64_t last_ = -1;  // the block of the last LoadBlock, loaded or not
    int64_t loaded_ = -1;
    const uint8_t* loadedData_ = nullptr;
    bool loadedMapped_ = false;
    const std::vector<uint32_t>* loadedNotes_ = nullptr;
    const IBlockPrepass* prepass_ = nullptr;  // set only while the reader is stopped
    int64_t loadedFirst_ = 0;
    int64_t loadedCount_ = 0;

    std::mutex sourceMutex_;  // sources are not made for concurrent readers
    std::mutex stateMutex_;
    std::condition_variable fetcherWake_;
    std::condition_variable consumerWake_;
    // The ring holds blocks head_ to fetchNext_ - 1 read, head_ being the loaded one; the reader
    // reads fetchNext_, or runs the prepass on block preparing_, while fetching_ is set. Blocks
    // from prepareNext_ on have not been given to the prepass.
    bool running_ = false;
    int64_t head_ = 0;
    int64_t fetchNext_ = 0;
    int64_t prepareNext_ = 0;
    int64_t preparing_ = -1;
    bool fetching_ = false;
    bool fetcherWaiting_ = false;
    bool consumerWaiting_ = false;
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace keldrin
