// ASF media (WMA, WMV): sized by the header, data and simple index objects.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileASFAnalyser final : public IRawFileAnalyser {
  public:
    FileASFAnalyser() : IRawFileAnalyser(6) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    int FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
