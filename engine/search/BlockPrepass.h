// Work on a scanned block that needs nothing but the block's bytes, done by the scan cache's reader
// thread ahead of the analysers, so that both processors share the pass over the volume.
#pragma once

#include <cstdint>
#include <vector>

namespace keldrin {

class IBlockPrepass {
  public:
    // Runs on the reader thread while the analysers work on earlier blocks: it must read nothing
    // they change. notes comes empty and is handed to the analyser with the block; a throw leaves
    // the block without notes.
    virtual void PrepareBlock(const uint8_t* data, int64_t sectorCount,
                              std::vector<uint32_t>& notes) const = 0;

  protected:
    ~IBlockPrepass() = default;
};

}  // namespace keldrin
