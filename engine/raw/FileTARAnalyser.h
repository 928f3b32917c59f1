// POSIX tar archives: sized by walking the member headers.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileTARAnalyser final : public IRawFileAnalyser {
  public:
    FileTARAnalyser() : IRawFileAnalyser(59) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    int FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
    int GetLeadingBytesOffset() const override;
};

}  // namespace keldrin
