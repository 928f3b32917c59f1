// RTF documents: sized by balancing the groups' braces.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileRTFAnalyser final : public IRawFileAnalyser {
  public:
    FileRTFAnalyser() : IRawFileAnalyser(56) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    int FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
