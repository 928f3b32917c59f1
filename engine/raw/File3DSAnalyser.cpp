#include "engine/raw/File3DSAnalyser.h"

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

int File3DSAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (Le16(s) != 0x4D4D || Le16(s + 16) != 0x3D3D) return 0;
    // The main chunk holds the editor chunk, so it cannot be the shorter one.
    const uint32_t size = Le32(s + 2);
    if (size == 0 || size < Le32(s + 18)) return 0;
    candidate.type = 1;
    candidate.size = size;
    return 1;
}

bool File3DSAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back(0x4D4D);
    return true;
}

}  // namespace keldrin
