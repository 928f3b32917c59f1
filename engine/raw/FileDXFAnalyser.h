// AutoCAD exchange files: text sized by the end-of-file group.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileDXFAnalyser final : public IRawFileAnalyser {
  public:
    FileDXFAnalyser() : IRawFileAnalyser(23) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    int FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
