// One basic partition of one disk, as the partition table (or a file system on the whole disk) gives
// it. Records live in the temporary list of one disk; their devices pass on to the volume entries.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/devices/BasicPartitionDevice.h"
#include "engine/devices/Volume.h"

namespace keldrin {

enum class PartitionTableKind {
    kNone,  // no table; at most a file system on the whole disk
    kMbr,   // MBR, with its extended chain
    kGpt,
    kDynamic,  // an MBR with a 0x42 entry: the volumes come from the dynamic-disk database
};

const char* PartitionTableKindText(PartitionTableKind kind);  // "none", "MBR", "GPT", "dynamic disk"

struct PartitionRecord {
    // 1-4 the primary MBR entries, 5 on the logical ones in chain order, GPT entries their array index
    // + 1 (the numbers the kernel gives the partitions); 0 for a file system on the whole disk.
    int number = 0;
    int64_t startSector = 0;
    // The extent the volume is read through: the table's count, cut at the disk end, or the file
    // system's own size when it reports one that ends inside the disk.
    int64_t sectorCount = 0;
    int64_t tableSectorCount = 0;  // what the table says (0 for the whole-disk file system)
    std::string typeText;          // "0x07", or the GPT type GUID
    std::string systemName;        // the GPT type's system ("Windows", "Linux"); empty otherwise
    int fileSystemType = kFsUnknown;
    std::string label;
    // Filled from the kernel's view of the disk: the partition's block device, its number and where
    // it is mounted (the mount point stands in for a drive letter). Empty or 0 when there is none.
    std::string devicePath;
    uint64_t deviceNumber = 0;
    std::string mountPoint;
    std::unique_ptr<CBasicPartitionDevice> device;  // a window on the disk; never owns the disk
};

}  // namespace keldrin
