// The metadata of an NTFS file read again at copy time: resident values and the $EFS stream live
// in the file's records, not in clusters, and are not kept in the tree.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/devices/StorageDevice.h"
#include "engine/model/FileNode.h"
#include "engine/model/NTFSFileProperties.h"
#include "engine/ntfs/FileRecord.h"

namespace keldrin::output {

inline constexpr uint32_t kAttrLoggedUtilityStream = 0x100;  // where $EFS is kept
inline constexpr size_t kMaxResidentBytes = 4096;
inline constexpr size_t kMaxEfsStreamBytes = 64 * 1024;

// The base record, then the extension records in the order the file lists them.
struct ReloadedRecords {
    std::vector<ntfs::FileRecord> records;
};

// Reads the file's record (16 sectors at its record sector, cut to the record's own size) and its
// extension records. False for folders or when the base record cannot be read.
bool ReloadRecordSet(IStorageDevice& device, const CNTFSFileProperties& properties, ReloadedRecords& out);

// The value of the first unnamed $DATA when it is resident and fits capacity; its length, or -1.
int64_t ReadResidentData(const ReloadedRecords& set, uint8_t* buffer, size_t capacity);

// The value of the first 0x100 attribute (resident, or read run by run while it fits 64 KiB),
// accepted only when its length equals the 32-bit length stored at its start; the length or -1.
int64_t ReadEfsStream(const ReloadedRecords& set, IStorageDevice& device, const VolumeLocation& volume,
                      std::vector<uint8_t>& out);

}  // namespace keldrin::output
