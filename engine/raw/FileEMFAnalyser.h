// Enhanced metafiles: the header record states the size.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileEMFAnalyser final : public IRawFileAnalyser {
  public:
    FileEMFAnalyser() : IRawFileAnalyser(24) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
    int GetLeadingBytesOffset() const override;
};

}  // namespace keldrin
