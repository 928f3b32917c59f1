// Where a volume's clusters and file records lie on its device.
#pragma once

#include <cstdint>

#include "engine/ntfs/BootSector.h"

namespace keldrin::ntfs {

struct NtfsGeometry {
    int64_t firstSector = 0;  // of the volume on its device
    uint32_t sectorsPerCluster = 1;
    uint32_t recordSize = 1024;  // bytes per file record

    uint32_t SectorsPerRecord() const { return recordSize / 512; }
    // A power-of-two cluster of 1 to 128 sectors, a usable record size, a first sector not below 0.
    bool IsUsable() const;
};

// The geometry a valid boot sector gives; false when it is of no use.
bool GeometryFromBootSector(const CNTFSDBR& boot, int64_t firstSector, NtfsGeometry& out);

// firstSector + cluster x sectors per cluster; false for a negative cluster or a sector past
// what a signed 64-bit number holds.
bool ClusterToSector(const NtfsGeometry& geometry, int64_t cluster, int64_t& sector);

// Sector s is cluster k of a volume starting at sector v with c sectors per cluster:
// (s - v) mod c = 0 and (s - v) / c = k.
bool SectorIsCluster(int64_t sector, int64_t volumeFirst, uint32_t sectorsPerCluster, int64_t cluster);

}  // namespace keldrin::ntfs
