// 3GPP multimedia: sized by walking the top-level boxes.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class File3GPAnalyser final : public IRawFileAnalyser {
  public:
    File3GPAnalyser() : IRawFileAnalyser(2) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    int FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
    int GetLeadingBytesOffset() const override;
};

}  // namespace keldrin
