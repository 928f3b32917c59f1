// Word documents of the format before compound files: the header states the text's extent.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileLowDocAnalyser final : public IRawFileAnalyser {
  public:
    FileLowDocAnalyser() : IRawFileAnalyser(21) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
