// The sector-scan driver: reads the source once in blocks of 1000 sectors on a worker thread and
// hands every block to each analyser in the order they were added.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/devices/StorageDevice.h"
#include "engine/search/FileSystemSearchController.h"
#include "engine/search/IntelligentSearchCallback.h"
#include "engine/search/SearchCounters.h"

namespace keldrin {

inline constexpr int64_t kScanBlockSectors = 1000;

class CIntelligentSearchController final : public IContainerofFileSystemSearchController {
  public:
    void SetSourceDevice(IStorageDevice* device) { device_ = device; }
    void AddController(IFileSystemSearchController* analyser) override;
    // Runs the scan on a worker while the calling thread pumps messages; callback may be null.
    // False when the worker could not run (no device); the analysers then are not touched.
    bool Run(IIntelligentSearchCallback* callback);

    const SearchCounters& GetCounters() const { return counters_; }
    bool IsDone() const { return done_; }
    // The blocks fed by the last run (fewer than the device has after a cancel).
    int64_t GetBlocksFed() const { return blocksFed_; }

  private:
    void Work();

    std::vector<IFileSystemSearchController*> analysers_;
    IStorageDevice* device_ = nullptr;
    SearchCounters counters_;
    IIntelligentSearchCallback* callback_ = nullptr;
    bool done_ = false;
    int64_t blocksFed_ = 0;
};

}  // namespace keldrin
