// The sector reads of a raw disk or volume: read-only access through an IRawReader, with the
// "ignore bad sectors" path that answers unreadable regions with zeros and probes their extent once.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/devices/BadSectorMap.h"
#include "engine/devices/DiskGeometry.h"
#include "engine/devices/RawReader.h"

namespace keldrin {

// A probe read is one chunk of 1 MiB; probes look 50, 25 and 12 chunks past a failed read.
inline constexpr int64_t kProbeChunkSectors = 2048;
inline constexpr int64_t kProbeFirstStep = 50;
inline constexpr int64_t kProbeSmallestStep = 10;

class CRawSectorAccess {
  public:
    // A null reader gets the block-device reader.
    explicit CRawSectorAccess(std::unique_ptr<IRawReader> reader);

    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const;

    // Unopened: zeros and false. With "ignore bad sectors" on, a read that meets a recorded region
    // or fails is answered with zeros and true; a failed one first probes and records its region.
    bool ReadSectors(void* buffer, int64_t firstSector, int64_t sectorCount);

    // Records [first, first + extent * 2048], extent being the distance in chunks of the first
    // probe that fails, or 10 when all three succeed.
    void ProbeBadRegion(int64_t firstSector);

    // The reader's size in whole sectors; 0 when not open.
    int64_t GetTotalSectors();
    bool GetGeometry(DiskGeometry& geometry);

    const CBadSectorMap& GetBadSectorMap() const { return badSectors_; }

  private:
    std::unique_ptr<IRawReader> reader_;
    CBadSectorMap badSectors_;
};

}  // namespace keldrin
