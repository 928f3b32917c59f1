// HTML documents in UTF-16: text sized by the closing html tag.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileUnicodeHTMAnalyser final : public IRawFileAnalyser {
  public:
    FileUnicodeHTMAnalyser() : IRawFileAnalyser(31) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    int FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
