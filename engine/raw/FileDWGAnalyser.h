// AutoCAD drawings: sized by the section locators or, in newer releases, by the closing sentinel.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileDWGAnalyser final : public IRawFileAnalyser {
  public:
    FileDWGAnalyser() : IRawFileAnalyser(22) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    int FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
