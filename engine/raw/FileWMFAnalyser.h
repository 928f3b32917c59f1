// Windows metafiles (without the placeable header): the header states the size.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileWMFAnalyser final : public IRawFileAnalyser {
  public:
    FileWMFAnalyser() : IRawFileAnalyser(66) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
