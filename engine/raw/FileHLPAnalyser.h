// Windows help files: the header states the size.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileHLPAnalyser final : public IRawFileAnalyser {
  public:
    FileHLPAnalyser() : IRawFileAnalyser(30) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
