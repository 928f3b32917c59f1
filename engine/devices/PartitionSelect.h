// A partition of a disk or disk image named by its number, as "--partition N" of the command line
// names it: the numbers the partition table listing shows (0 = a file system on the whole disk).
#pragma once

#include <cstdint>
#include <memory>

#include "engine/devices/BasicPartitionDevice.h"
#include "engine/devices/StorageDevice.h"
#include "engine/devices/VolumeIdentifier.h"

namespace keldrin {

// The partition's first sector and sector count, read with the same rules as the volume list (the
// identifier may shorten a partition to its file system's size; an empty one leaves the table's
// extent). False when the disk has no partition of that number.
bool FindBasicPartition(IStorageDevice* disk, int number, const VolumeIdentifier& identify,
                        int64_t& firstSector, int64_t& sectorCount);

// A window on that partition, which does not own the disk; null when there is none.
std::unique_ptr<CBasicPartitionDevice> OpenBasicPartition(IStorageDevice* disk, int number,
                                                          const VolumeIdentifier& identify);

}  // namespace keldrin
