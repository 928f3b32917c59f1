// Finding $MFT: its own record, at the $MFT cluster or else at the $MFTMirr cluster, and the run
// list of its unnamed $DATA, gathered across its extension records when it has an attribute list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/devices/StorageDevice.h"
#include "engine/ntfs/BootSector.h"
#include "engine/ntfs/NtfsGeometry.h"
#include "engine/ntfs/NtfsRuns.h"

namespace keldrin::ntfs {

// A run list longer than this is not a real $MFT (thousands of fragments are already extreme);
// it would only let a damaged attribute list choose how much memory a build takes.
inline constexpr size_t kMaxMftRuns = size_t{1} << 20;

struct CMFTInfo {
    int64_t recordSector = -1;  // of $MFT's own record; -1 while unknown
    std::vector<NtfsRun> runs;  // of its unnamed $DATA, in VCN order
    uint8_t sectorsPerRecord = 2;
    // As its $DATA implies (size against clusters); 0 when that gives nothing.
    uint8_t sectorsPerCluster = 0;
};

// Tries the $MFT cluster, then the $MFTMirr cluster of boot; at each the record must be a valid
// "$MFT" system file whose $DATA has runs. Reads never reach past deviceSectors. False when
// neither place gives one.
bool LocateMft(IStorageDevice& device, const CNTFSDBR& boot, const NtfsGeometry& geometry,
               int64_t deviceSectors, CMFTInfo& out);

// The sectors per cluster that size bytes spread over clusters imply: size / clusters / 512
// rounded up, then up to a power of two from 1 to 128; 0 when nothing fits.
uint8_t ClusterSizeFor(int64_t size, int64_t clusters);

}  // namespace keldrin::ntfs
