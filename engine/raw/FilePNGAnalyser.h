// PNG images: sized by walking the chunks to IEND.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FilePNGAnalyser final : public IRawFileAnalyser {
  public:
    FilePNGAnalyser() : IRawFileAnalyser(47) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    int FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
