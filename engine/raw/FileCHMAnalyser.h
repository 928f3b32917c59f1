// Compiled help: the header section table states the size.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileCHMAnalyser final : public IRawFileAnalyser {
  public:
    FileCHMAnalyser() : IRawFileAnalyser(12) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
