// The block cache of the sector scan, double-buffered: while the analysers work on the loaded
// block, a second thread reads the next one into the other buffer, so the analysers never wait for
// the device unless it is slower than they are. Each block is read from the device once.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

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
    // Makes block index the loaded one and starts reading index + 1 behind it. A failed read
    // leaves no block loaded, so that reads go to the source.
    bool LoadBlock(int64_t index);
    int64_t GetLoadedBlock() const { return loaded_; }

    // Sectors of the loaded block come from memory, the others from the source.
    bool ReadSectors(void* buffer, int64_t firstSector, int64_t sectorCount) override;
    int64_t GetTotalSectors() override { return total_; }
    bool Open() override { return true; }
    bool Close() override { return true; }
    const uint8_t* GetBlockData(int64_t firstSector, int64_t sectorCount) const override;

  private:
    void FetchLoop();
    void Request(int64_t block);
    int64_t BlockLength(int64_t block) const;
    bool ReadSource(void* buffer, int64_t firstSector, int64_t sectorCount);

    IStorageDevice* source_;
    int64_t blockSectors_;
    int64_t total_ = 0;
    int64_t blocks_ = 0;
    std::vector<uint8_t> current_;
    std::vector<uint8_t> next_;  // the fetch thread's while a fetch is requested
    int64_t loaded_ = -1;
    int64_t loadedFirst_ = 0;
    int64_t loadedCount_ = 0;

    std::mutex sourceMutex_;  // sources are not made for concurrent readers
    std::mutex stateMutex_;
    std::condition_variable changed_;
    int64_t requested_ = -1;
    int64_t fetched_ = -1;
    bool fetchedOk_ = false;
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace keldrin
