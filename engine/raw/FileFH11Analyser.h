// FreeHand drawings: sized by the closing marker.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileFH11Analyser final : public IRawFileAnalyser {
  public:
    FileFH11Analyser() : IRawFileAnalyser(27) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    int FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
