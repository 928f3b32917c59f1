// Encapsulated PostScript with a binary preview header: the header places every section.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileEPSAnalyser final : public IRawFileAnalyser {
  public:
    FileEPSAnalyser() : IRawFileAnalyser(25) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
