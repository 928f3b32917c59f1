// TrueType fonts: the table directory states every table's length.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileTTFAnalyser final : public IRawFileAnalyser {
  public:
    FileTTFAnalyser() : IRawFileAnalyser(61) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
