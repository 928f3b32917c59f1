// Reads the basic partitions of one disk (or of any device holding a disk image): MBR with its extended
// chain, GPT, or a file system written on the whole disk. Every partition is identified through the
// volume identifier the caller hands in.
#pragma once

#include <vector>

#include "engine/devices/PartitionRecord.h"
#include "engine/devices/StorageDevice.h"
#include "engine/devices/VolumeIdentifier.h"

namespace keldrin {

// An extended chain ends after this many tables even when each one names a new position.
inline constexpr int kMaxExtendedTables = 4096;

class CPartitionTableAnalyze {
  public:
    // Appends the disk's records in table order and answers how many it appended. kind, when given,
    // says which table sector 0 holds. Nothing is read from a dynamic disk (its volumes are the
    // dynamic-disk database's); a GPT disk gives the entries of a known type and the entries of any
    // other type where a file system is recognised; an MBR disk first gives a file system found at
    // sector 0, then its primary and logical partitions.
    static int ReadBasicPartitions(IStorageDevice* disk, const VolumeIdentifier& identify,
                                   std::vector<PartitionRecord>& records, PartitionTableKind* kind = nullptr);
};

}  // namespace keldrin
