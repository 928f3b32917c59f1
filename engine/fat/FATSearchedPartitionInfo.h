// The parameters of one FAT volume as the tree builder consumes them; the wizard fills them from
// a boot record, the sector scan and the lost-partition search from what they found.
#pragma once

#include <cstdint>

#include "engine/devices/Volume.h"

namespace keldrin::fat {

// The fields of a scan candidate that the FAT readers use.
struct CSearchedPartitionInfo {
    virtual ~CSearchedPartitionInfo() = default;
    virtual int GetInfoKind() const { return 0; }

    int fileSystemType = kFsUnknown;
    uint8_t sectorsPerCluster = 0;
    int64_t dataAreaStart = 0;
    int64_t partitionStart = 0;
    int64_t filesMatch = 0;
    int64_t foldersMatch = 0;
    uint32_t partitionSectors = 0;
    int64_t baseScore = 1;
};

// Flags: where the parameters came from and which FAT copies the builder may load.
inline constexpr uint32_t kFromFAT12DBR = 0x001;
inline constexpr uint32_t kFromFAT16DBR = 0x002;
inline constexpr uint32_t kFromFAT32DBR = 0x004;
inline constexpr uint32_t kFromFAT32BackupDBR = 0x008;
inline constexpr uint32_t kFromFoldersAnalysis = 0x010;
inline constexpr uint32_t kFromFilesAnalysis = 0x020;
inline constexpr uint32_t kFoundFAT1 = 0x040;
inline constexpr uint32_t kUseFAT1 = 0x080;
inline constexpr uint32_t kFoundFAT2 = 0x100;
inline constexpr uint32_t kUseFAT2 = 0x200;
// Any of these: the root directory is known from a boot record.
inline constexpr uint32_t kFromAnyDBR = 0x00F;

struct CFATSearchedPartitionInfo final : CSearchedPartitionInfo {
    int GetInfoKind() const override { return 1; }

    uint16_t reservedSectors = 0;
    uint32_t sectorsPerFAT = 0;
    uint32_t clusterCount = 0;
    // FAT12/16: the root directory's sectors; FAT32: its first cluster.
    uint32_t rootDirectory = 0;
    uint32_t flags = 0;
};

}  // namespace keldrin::fat
