// RIFF containers (WAV, AVI, ANI, Corel formats): the header states the size; the form type names the kind.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileRIFFAnalyser final : public IRawFileAnalyser {
  public:
    FileRIFFAnalyser() : IRawFileAnalyser(55) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;

    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
