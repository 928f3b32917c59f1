// Direct access to the block a scan cache holds, so that an analyser can look at the block where it
// lies instead of copying it first.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/search/BlockPrepass.h"

namespace keldrin {

class IScanBlockView {
  public:
    // The bytes of sectors [firstSector, firstSector + sectorCount) when the loaded block holds all
    // of them; null otherwise. Valid until the next block is loaded.
    virtual const uint8_t* GetBlockData(int64_t firstSector, int64_t sectorCount) const = 0;
    // The same bytes, for a caller that keeps the pointer: non-null only where they stay valid and
    // unchanged for as long as the view lives (a mapped image), not just until the next load.
    virtual const uint8_t* GetLastingBlockData(int64_t firstSector, int64_t sectorCount) const = 0;

    // Lets the reader run prepass (not owned; null for none) on blocks ahead of their load; a block
    // the scan reaches first gets no notes. The prepass must stay alive until it is replaced or
    // the view is gone.
    virtual void SetBlockPrepass(const IBlockPrepass* prepass) = 0;
    // The notes prepass made on the loaded block when it starts at firstSector; null when no
    // prepass ran on it.
    virtual const std::vector<uint32_t>* GetBlockNotes(int64_t firstSector) const = 0;

  protected:
    ~IScanBlockView() = default;
};

}  // namespace keldrin
