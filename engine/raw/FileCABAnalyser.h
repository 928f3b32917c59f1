// Cabinet archives: the header states the size.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileCABAnalyser final : public IRawFileAnalyser {
  public:
    FileCABAnalyser() : IRawFileAnalyser(10) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
