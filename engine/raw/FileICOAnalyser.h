// Icons and cursors: the size is the directory and the images it lists.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileICOAnalyser final : public IRawFileAnalyser {
  public:
    FileICOAnalyser() : IRawFileAnalyser(32) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
