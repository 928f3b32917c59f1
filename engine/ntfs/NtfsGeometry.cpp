#include "engine/ntfs/NtfsGeometry.h"

#include "engine/ntfs/FileRecord.h"

namespace keldrin::ntfs {

bool NtfsGeometry::IsUsable() const {
    const uint32_t c = sectorsPerCluster;
    return firstSector >= 0 && c >= 1 && c <= 128 && (c & (c - 1)) == 0 && IsUsableRecordSize(recordSize);
}

bool GeometryFromBootSector(const CNTFSDBR& boot, int64_t firstSector, NtfsGeometry& out) {
    if (!boot.IsValid()) return false;
    const NtfsGeometry g{firstSector, GetSectorsPerCluster(boot), GetFileRecordSize(boot)};
    if (!g.IsUsable()) return false;
    out = g;
    return true;
}

bool ClusterToSector(const NtfsGeometry& geometry, int64_t cluster, int64_t& sector) {
    const int64_t c = geometry.sectorsPerCluster;
    if (cluster < 0 || c <= 0 || geometry.firstSector < 0) return false;
    if (cluster > (INT64_MAX - geometry.firstSector) / c) return false;
    sector = geometry.firstSector + cluster * c;
    return true;
}

bool SectorIsCluster(int64_t sector, int64_t volumeFirst, uint32_t sectorsPerCluster, int64_t cluster) {
    if (sectorsPerCluster == 0 || sector < volumeFirst) return false;
    const int64_t d = sector - volumeFirst;
    return d % sectorsPerCluster == 0 && d / sectorsPerCluster == cluster;
}

}  // namespace keldrin::ntfs
