// Standard MIDI files: sized by walking the track chunks.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileMIDAnalyser final : public IRawFileAnalyser {
  public:
    FileMIDAnalyser() : IRawFileAnalyser(36) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    int FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
