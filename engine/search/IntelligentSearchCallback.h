// How a sector scan reports its progress and learns of a cancel. Called on the scan worker once per
// block; a display redraws at most every 300 ms however fast the blocks come.
#pragma once

#include <cstdint>

#include "engine/search/SearchCounters.h"

namespace keldrin {

class IIntelligentSearchCallback {
  public:
    virtual ~IIntelligentSearchCallback() = default;
    virtual void SetPosition(int64_t blockIndex) = 0;
    virtual void SetRange(int64_t first, int64_t last) = 0;
    // Nonzero once the user has cancelled.
    virtual int IsCancelled() = 0;
    virtual void BlockDone() = 0;
    virtual void GetCounters(SearchCounters& out) = 0;
    virtual void SetCounters(const SearchCounters& counters) = 0;
};

}  // namespace keldrin
