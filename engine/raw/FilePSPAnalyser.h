// Paint Shop Pro images: sized by walking the blocks.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FilePSPAnalyser final : public IRawFileAnalyser {
  public:
    FilePSPAnalyser() : IRawFileAnalyser(51) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    int FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
