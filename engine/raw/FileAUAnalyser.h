// Sun/NeXT audio: the header states the data's offset and length.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileAUAnalyser final : public IRawFileAnalyser {
  public:
    FileAUAnalyser() : IRawFileAnalyser(7) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
