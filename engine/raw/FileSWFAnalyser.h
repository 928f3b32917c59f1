// Flash movies: the header states the (uncompressed) length.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileSWFAnalyser final : public IRawFileAnalyser {
  public:
    FileSWFAnalyser() : IRawFileAnalyser(58) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
