// Access (Jet) databases: sized by walking the pages while they look like database pages.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileMDBAnalyser final : public IRawFileAnalyser {
  public:
    FileMDBAnalyser() : IRawFileAnalyser(37) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    int FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
