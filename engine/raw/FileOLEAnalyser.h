// Compound files with 512-byte sectors (Office documents and others): sized by counting the
// allocation table; the names in the first directory sector tell the kind.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileOLEAnalyser final : public IRawFileAnalyser {
  public:
    FileOLEAnalyser() : IRawFileAnalyser(44) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    int FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
