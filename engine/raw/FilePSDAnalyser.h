// Photoshop images: sized by the header's sections and the image data they lead to.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FilePSDAnalyser final : public IRawFileAnalyser {
  public:
    FilePSDAnalyser() : IRawFileAnalyser(50) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    int FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
