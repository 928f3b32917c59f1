// Money files: nothing outside the database states the size, so a fixed one is given.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileMNYAnalyser final : public IRawFileAnalyser {
  public:
    FileMNYAnalyser() : IRawFileAnalyser(38) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
    int GetLeadingBytesOffset() const override;
};

}  // namespace keldrin
