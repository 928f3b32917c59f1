// 3D Studio meshes: the main chunk states the size.
#pragma once

#include "engine/raw/RawFileAnalyser.h"

namespace keldrin {

class File3DSAnalyser final : public IRawFileAnalyser {
  public:
    File3DSAnalyser() : IRawFileAnalyser(1) {}
    int CheckSignature(const uint8_t* sector, CRawFileInfo& candidate) override;
    bool GetLeadingBytes(std::vector<uint16_t>& values) const override;
};

}  // namespace keldrin
