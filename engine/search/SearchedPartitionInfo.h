// One file-system candidate found by the sector scan, with its score and rank. The analysers
// derive their own candidates from it.
#pragma once

#include <cstdint>

#include "engine/devices/Volume.h"

namespace keldrin {

enum SearchedInfoKind : int {
    kInfoNtfs = 0,
    kInfoFat = 1,
    kInfoExt2 = 2,
    kInfoBase = 3,
};

class CSearchedPartitionInfo {
  public:
    virtual ~CSearchedPartitionInfo() = default;
    virtual int GetInfoKind() const { return kInfoBase; }

    int32_t fileSystemType = kFsUnknown;
    uint8_t sectorsPerCluster = 0;
    int64_t dataAreaStartSector = 0;
    int64_t partitionStartSector = 0;
    int64_t filesMatch = 0;
    int64_t foldersMatch = 0;
    uint32_t reserved = 0;  // carried by the scan state, read by nobody
    uint32_t partitionSectorsCount = 0;
    int64_t baseScore = 1;
    double rank = 0.0;
    int32_t selected = 0;
};

}  // namespace keldrin
