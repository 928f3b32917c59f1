// Direct access to the block a scan cache holds, so that an analyser can look at the block where it
// lies instead of copying it first.
#pragma once

#include <cstdint>

namespace keldrin {

class IScanBlockView {
  public:
    // The bytes of sectors [firstSector, firstSector + sectorCount) when the loaded block holds all
    // of them; null otherwise. Valid until the next block is loaded.
    virtual const uint8_t* GetBlockData(int64_t firstSector, int64_t sectorCount) const = 0;

  protected:
    ~IScanBlockView() = default;
};

}  // namespace keldrin
