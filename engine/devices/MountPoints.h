// Gives the partitions of one disk their kernel block devices and mount points; the mount point
// stands in for a drive letter.
#pragma once

#include <vector>

#include "engine/devices/PartitionRecord.h"
#include "engine/devices/StorageDisk.h"

namespace keldrin {

// A record is matched to the kernel partition of the disk that starts at the same sector; the file
// system on the whole disk (record 0) to the disk itself. Unmatched records, and all records of a disk
// the kernel does not know (an image), keep no device path and no mount point.
void AssignMountPoints(const StorageDisk& disk, std::vector<PartitionRecord>& records);

}  // namespace keldrin
