// The root node of an NTFS volume's tree, and the volume label it may carry.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/devices/StorageDevice.h"
#include "engine/model/FileSystemNode.h"

namespace keldrin::ntfs {

// Labels longer than this many characters are not shown as the node's name.
inline constexpr size_t kMaxShownLabelChars = 64;

// A file-system node of type NTFS at firstSector, whose properties are a folder named
// "<index + 1> NTFS"; a label of 1 to 64 characters becomes its display name (cut to 40 bytes).
// Null when memory runs out.
CFileSystemNode* CreateNtfsFileSystemNode(int64_t firstSector, uint32_t sectorsPerCluster, int index,
                                          std::string_view label);

// The label of record 3 ($Volume), read at mftRecordSector + 3 records of recordSize bytes: UTF-8,
// at most 80 bytes. False (label empty) when that record is not $Volume or cannot be read.
bool ReadNtfsLabel(int64_t mftRecordSector, IStorageDevice* device, std::string& label,
                   uint32_t recordSize = 1024);

}  // namespace keldrin::ntfs
