// JPEG images: a baseline frame is sized by walking its markers to the end of the scan data.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileJPGAnalyser final : public IRawFileAnalyser {
  public:
    FileJPGAnalyser() : IRawFileAnalyser(33) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    int FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
