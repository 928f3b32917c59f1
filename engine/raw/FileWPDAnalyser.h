// WordPerfect documents, graphics and presentations: the prefix names the kind and states the size.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileWPDAnalyser final : public IRawFileAnalyser {
  public:
    FileWPDAnalyser() : IRawFileAnalyser(64) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
