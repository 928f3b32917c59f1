// Corel Photo-Paint images: sized through the last object record of the header's table.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileCPTAnalyser final : public IRawFileAnalyser {
  public:
    FileCPTAnalyser() : IRawFileAnalyser(15) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    int FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
