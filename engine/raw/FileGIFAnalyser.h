// GIF images: sized by walking blocks to the trailer.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileGIFAnalyser final : public IRawFileAnalyser {
  public:
    FileGIFAnalyser() : IRawFileAnalyser(28) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    int FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
