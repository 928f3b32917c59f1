// Gzip streams: nothing states their length, so they get the maximal file size.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileGZAnalyser final : public IRawFileAnalyser {
  public:
    FileGZAnalyser() : IRawFileAnalyser(29) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    int FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
