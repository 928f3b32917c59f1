// MP3 audio with an ID3v2 tag: sized by walking the audio frames.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class FileMP3Analyser final : public IRawFileAnalyser {
  public:
    FileMP3Analyser() : IRawFileAnalyser(41) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    int FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
