#include "engine/raw/FileHLPAnalyser.h"

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

int FileHLPAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (s[0] != 0x3F || s[1] != 0x5F || s[2] != 0x03 || s[3] != 0x00) return 0;
    // The file holds at least its header and its directory, which starts at 4.
    const uint32_t size = Le32(s + 12);
    if (size < 512 || size < Le32(s + 4)) return 0;
    candidate.type = 30;
    candidate.size = size;
    return 1;
}

bool FileHLPAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back(0x3F | (0x5F << 8));
    return true;
}

}  // namespace keldrin
