// OneNote sections: nothing simple states the size, so a fixed one is given.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileONEAnalyser final : public IRawFileAnalyser {
  public:
    FileONEAnalyser() : IRawFileAnalyser(45) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
