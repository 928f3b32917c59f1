// The extents of an Ext2/3 file: absolute block numbers of the volume, a start of 0 marking a
// hole (zeros on copy).
#pragma once

#include <vector>

#include "engine/model/DataRunList.h"
#include "engine/model/Extent.h"

namespace keldrin::ext2 {

class CExt2DataRunList final : public IDataRunList {
  public:
    int GetRunListKind() const override { return kRunListExt2; }
};

// Builds a run list: a run that continues the last one, or a hole after a hole, is merged into it.
class Ext2RunBuilder {
  public:
    void Add(uint64_t start, uint64_t length);
    // Empties the list for the next file, keeping its memory.
    void Clear() {
        runs_.clear();
        holes_ = false;
    }
    const std::vector<Extent>& Runs() const { return runs_; }
    bool HasHoles() const { return holes_; }

  private:
    std::vector<Extent> runs_;
    bool holes_ = false;
};

}  // namespace keldrin::ext2
