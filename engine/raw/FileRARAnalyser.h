// RAR archives (before version 5): sized by walking the blocks.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileRARAnalyser final : public IRawFileAnalyser {
  public:
    FileRARAnalyser() : IRawFileAnalyser(54) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    int FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
