// One selectable line of the volume list: a basic partition, a floppy, a dynamic volume or an opened
// disk image. The list owns its entries and every entry owns its device.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/devices/StorageDevice.h"
#include "engine/devices/Volume.h"

namespace keldrin {

inline constexpr int kVolumeKindBasic = 0;  // a basic partition or a floppy
inline constexpr int kVolumeKindDynamic = 1;
inline constexpr size_t kMaxVolumeMembers = 32;
inline constexpr size_t kMaxDiskTextChars = 512;

// One extent of a volume on a disk. The disk is not owned.
struct VolumeMember {
    int64_t startSector = 0;
    int64_t sectorCount = 0;
    IStorageDevice* disk = nullptr;  // null: a free slot
    int diskNumber = -1;
    std::string diskKernelName;  // "sda"; empty for an image
};

struct VolumeEntry {
    bool isImage = false;  // an opened disk-image file; it never shares a disk with a destination
    std::unique_ptr<IStorageDevice> device;
    int kind = kVolumeKindBasic;
    int fileSystemType = kFsUnknown;
    // Where the volume is mounted, standing in for its drive letter; empty when it is not mounted.
    std::string mountPoint;
    // The volume's own block device ("/dev/sda1") and its makedev number; empty and 0 when the kernel
    // has none for it.
    std::string devicePath;
    uint64_t deviceNumber = 0;
    std::string label;
    bool isFloppy = false;
    bool isUsb = false;
    int partitionNumber = -1;                             // the record's number for a basic partition
    std::array<VolumeMember, kMaxVolumeMembers> members;  // a basic partition uses slot 0
    std::string diskText;                                 // the names of the disks it lives on, one line each
};

using VolumeList = std::vector<VolumeEntry>;

}  // namespace keldrin
