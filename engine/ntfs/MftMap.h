// Where each $MFT record lies: the volume geometry with the runs of $MFT's unnamed $DATA.
#pragma once

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "engine/devices/StorageDevice.h"
#include "engine/ntfs/NtfsGeometry.h"
#include "engine/ntfs/NtfsRuns.h"

namespace keldrin::ntfs {

// Record numbers are 48 bits wide.
inline constexpr int64_t kMaxRecordNumber = 0xFFFFFFFFFFFF;

class MftMap {
  public:
    MftMap(const NtfsGeometry& geometry, std::vector<NtfsRun> mftRuns);

    const NtfsGeometry& Geometry() const { return geometry_; }
    const std::vector<NtfsRun>& Runs() const { return runs_; }

    // The device sector of the record's first sector; -1 when the runs do not place it.
    int64_t RecordSector(int64_t recordNumber) const;
    // Reads one record (record size bytes, out must hold them). A record that spans clusters is
    // gathered piece by piece, so it may lie across runs.
    bool ReadRecord(IStorageDevice& device, int64_t recordNumber, std::span<uint8_t> out) const;

  private:
    // The device sector of the record's sector index-th sector and how many sectors follow it
    // contiguously inside the same cluster; -1 when unmapped.
    int64_t SectorOf(int64_t recordNumber, int64_t index, int64_t& contiguous) const;
    int64_t LcnOf(int64_t vcn) const;

    NtfsGeometry geometry_;
    std::vector<NtfsRun> runs_;
    // Runs in VCN order without overlap are searched by halving: a fragmented $MFT has thousands
    // of runs and every extension record of every file is placed through them.
    bool ordered_ = false;
};

}  // namespace keldrin::ntfs
