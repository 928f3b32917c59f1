// The type names of the volume lists and log lines, and the file-system type an MBR partition-type
// byte stands for.
#pragma once

#include <cstdint>

namespace keldrin {

// "FAT12", "FAT16", "FAT32", "NTFS", "EXT2", "EXT3"; "UNKNOWN" for any other code (the raw branch too).
const char* FileSystemTypeName(int type);

// 0x01, 0x11: FAT12; 0x04, 0x06, 0x0E, 0x14, 0x16, 0x1E: FAT16; 0x0B, 0x0C, 0x1B: FAT32; 0x07, 0x17:
// NTFS; 0x82, 0x83, 0x85, 0x8E, 0x92, 0x93: EXT2; kFsUnknown for any other byte.
int PartitionTypeToFileSystemType(uint8_t partitionType);

}  // namespace keldrin
