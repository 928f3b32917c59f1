// Windows bitmaps: the file header states the size.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileBMPAnalyser final : public IRawFileAnalyser {
  public:
    FileBMPAnalyser() : IRawFileAnalyser(9) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;

    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
