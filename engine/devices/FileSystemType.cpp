#include "engine/devices/Volume.h"

namespace keldrin {

const char* FileSystemTypeText(int type) {
    switch (type) {
        case kFsFat12:
            return "FAT12";
        case kFsFat16:
            return "FAT16";
        case kFsFat32:
            return "FAT32";
        case kFsNtfs:
            return "NTFS";
        case kFsExt2:
            return "EXT2";
        case kFsExt3:
            return "EXT3";
        case kFsRaw:
            return "RAW";
        default:
            return "UNKNOWN";
    }
}

}  // namespace keldrin
