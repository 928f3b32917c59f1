// ZIP archives: sized by walking the local, central and end records.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileZIPAnalyser final : public IRawFileAnalyser {
  public:
    FileZIPAnalyser() : IRawFileAnalyser(68) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    int FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
