// Which file system a volume holds, its size and its label.
#pragma once

#include <cstddef>
#include <cstdint>

namespace keldrin {

enum FileSystemType : int {
    kFsFat12 = 0,
    kFsFat16 = 1,
    kFsFat32 = 2,
    kFsNtfs = 3,
    kFsExt2 = 4,
    kFsExt3 = 5,
    kFsRaw = 6,  // the "Raw Files" branch of a tree, never the type of a volume
    kFsUnknown = 7,
};

// "FAT12" ... "EXT3", "RAW" for the raw branch, "UNKNOWN" for any other code.
const char* FileSystemTypeText(int type);

class IVolume {
  public:
    virtual ~IVolume() = default;
    virtual int GetFileSystemType() = 0;
    virtual int64_t GetTotalSectors() = 0;
    // Copies the label (UTF-8, zero-terminated) into buffer of size bytes.
    virtual void GetVolumeLabel(char* buffer, size_t size) = 0;
};

}  // namespace keldrin
