// Whether a destination folder lies on what is being read, so that writing recovered files there could
// overwrite the very sectors they come from.
#pragma once

#include <cstdint>
#include <string>

#include "engine/devices/StorageDisk.h"
#include "engine/devices/VolumeEntry.h"

namespace keldrin {

// Yes when the folder's file system is the volume itself, or lies on a disk extent that overlaps one
// of the volume's members (a partition of the same disk, or a device-mapper or md volume built on
// one). Never for an image entry.
bool IsSameSource(const VolumeEntry& selected, const std::string& destinationFolder);
// The disk mode: yes when the folder's file system lies anywhere on the selected disk.
bool IsSameSource(const StorageDisk& selectedDisk, const std::string& destinationFolder);

// The same tests for a destination already resolved to its block device number.
bool IsSameSourceDevice(const VolumeEntry& selected, uint64_t destinationDevice);
bool IsSameSourceDevice(const StorageDisk& selectedDisk, uint64_t destinationDevice);

// The block device number of the file system holding path (or its nearest existing parent). A file
// system without a block device of its own in st_dev (btrfs, for one) is looked up by its mount
// source; 0 when nothing can be told.
uint64_t DestinationDeviceNumber(const std::string& path);

}  // namespace keldrin
