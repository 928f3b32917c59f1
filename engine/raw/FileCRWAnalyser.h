// Canon raw images: sized by the camera's closing record.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileCRWAnalyser final : public IRawFileAnalyser {
  public:
    FileCRWAnalyser() : IRawFileAnalyser(16) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    int FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
