// TIFF images: sized by the strips and values of the first directory.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileTIFAnalyser final : public IRawFileAnalyser {
  public:
    FileTIFAnalyser() : IRawFileAnalyser(60) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    int FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
