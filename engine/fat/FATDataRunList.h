// The extents of one FAT file, in clusters: start = cluster - 2 (cluster 2 is position 0).
#pragma once

#include <cstdint>
#include <vector>

#include "engine/model/DataRunList.h"
#include "engine/model/Extent.h"

namespace keldrin::fat {

// Runs as they are gathered from a chain or a guess: a run that continues the last one
// lengthens it, so contiguous clusters always end up as one run.
class FatRunBuilder {
  public:
    void AddRun(const Extent& run);
    const std::vector<Extent>& Runs() const { return runs_; }
    bool Empty() const { return runs_.empty(); }

  private:
    std::vector<Extent> runs_;
};

class CFATDataRunList final : public IDataRunList {
  public:
    CFATDataRunList() = default;
    explicit CFATDataRunList(const std::vector<Extent>& runs) {
        for (const Extent& run : runs) IDataRunList::AddRun(run);
    }
    int GetRunListKind() const override { return kRunListFat; }
};

}  // namespace keldrin::fat
