// QuickTime movies: sized by walking the top-level atoms.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileMOVAnalyser final : public IRawFileAnalyser {
  public:
    FileMOVAnalyser() : IRawFileAnalyser(40) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    int FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
    int GetLeadingBytesOffset() const override;
};

}  // namespace keldrin
