#include "engine/devices/FileSystemTypeName.h"

#include "engine/devices/Volume.h"

namespace keldrin {

const char* FileSystemTypeName(int type) {
    return type == kFsRaw ? "UNKNOWN" : FileSystemTypeText(type);
}

int PartitionTypeToFileSystemType(uint8_t partitionType) {
    switch (partitionType) {
        case 0x01:
        case 0x11:
            return kFsFat12;
        case 0x04:
        case 0x06:
        case 0x0E:
        case 0x14:
        case 0x16:
        case 0x1E:
            return kFsFat16;
        case 0x0B:
        case 0x0C:
        case 0x1B:
            return kFsFat32;
        case 0x07:
        case 0x17:
            return kFsNtfs;
        case 0x82:
        case 0x83:
        case 0x85:
        case 0x8E:
        case 0x92:
        case 0x93:
            return kFsExt2;
        default:
            return kFsUnknown;
    }
}

}  // namespace keldrin
