// Outlook stores: the header states the size.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FilePSTAnalyser final : public IRawFileAnalyser {
  public:
    FilePSTAnalyser() : IRawFileAnalyser(52) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
