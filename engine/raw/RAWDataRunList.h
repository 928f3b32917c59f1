// The extents of a RAW file: one run of sectors of the scanned volume.
#pragma once

#include "engine/model/DataRunList.h"

namespace keldrin {

class CRAWDataRunList final : public IDataRunList {
  public:
    int GetRunListKind() const override { return kRunListRaw; }
};

}  // namespace keldrin
