// The contract of one analyser of the sector scan (one object per file-system kind per scan), and
// the driver's container of them. Header only, so that the readers can implement it without
// linking the driver.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/devices/StorageDevice.h"
#include "engine/model/ProgressCallbacks.h"
#include "engine/search/SearchCounters.h"
#include "engine/search/SearchedPartitionInfo.h"

namespace keldrin {

class CRawFileStore;
class CFileSystemNode;

enum AnalyserKind : int {
    kAnalyserNtfs = 0,
    kAnalyserFat = 1,
    kAnalyserRaw = 2,
    kAnalyserExt2 = 3,
};

using CandidateList = std::vector<std::unique_ptr<CSearchedPartitionInfo>>;

class IFileSystemSearchController {
  public:
    virtual ~IFileSystemSearchController() = default;
    // The device read during the scan (the driver's block cache); not owned.
    virtual void SetDevice(IStorageDevice* device) = 0;
    virtual void SetBlockSize(int64_t sectors) = 0;
    virtual bool BeginSearch() = 0;
    // Turns what was collected into candidates; called after a cancel too.
    virtual bool EndSearch() = 0;
    // One block; the block is in the device's cache when this is called.
    virtual bool AnalyzeSectors(int64_t firstSector, int64_t sectorCount, SearchCounters& counters) = 0;
    // Appends this analyser's candidates; ownership passes to the list.
    virtual void GetResults(CandidateList& results) = 0;
    virtual void SetRawFileStore(CRawFileStore* store) = 0;
    virtual int GetAnalyserKind() const = 0;
    // The tree of one candidate, read from device; null when this analyser builds none.
    virtual CFileSystemNode* BuildTree(CSearchedPartitionInfo* candidate, IStorageDevice* device, int index,
                                       IDIRBuildCallback* callback) {
        (void)candidate;
        (void)device;
        (void)index;
        (void)callback;
        return nullptr;
    }
    virtual bool HandlesType(int fileSystemType) const {
        (void)fileSystemType;
        return false;
    }
};

class IContainerofFileSystemSearchController {
  public:
    virtual ~IContainerofFileSystemSearchController() = default;
    // Not owned; kept in the order added.
    virtual void AddController(IFileSystemSearchController* analyser) = 0;
};

}  // namespace keldrin
