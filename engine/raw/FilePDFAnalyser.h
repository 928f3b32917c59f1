// PDF documents (and Illustrator files saved as PDF): sized by the last end-of-file mark.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FilePDFAnalyser final : public IRawFileAnalyser {
  public:
    FilePDFAnalyser() : IRawFileAnalyser(46) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    int FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
