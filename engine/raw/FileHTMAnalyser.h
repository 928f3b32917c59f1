// HTML documents: text sized by the closing html tag.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileHTMAnalyser final : public IRawFileAnalyser {
  public:
    FileHTMAnalyser() : IRawFileAnalyser(31) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    int FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
