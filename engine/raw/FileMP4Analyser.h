// MPEG-4 multimedia: sized by walking the top-level boxes.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileMP4Analyser final : public IRawFileAnalyser {
  public:
    FileMP4Analyser() : IRawFileAnalyser(42) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    int FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
    int GetLeadingBytesOffset() const override;
};

}  // namespace keldrin
