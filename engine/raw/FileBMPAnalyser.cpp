#include "engine/raw/FileBMPAnalyser.h"

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

int FileBMPAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (s[0] != 'B' || s[1] != 'M' || Le16(s + 6) != 0 || Le16(s + 8) != 0) return 0;
    const uint32_t info = Le32(s + 14);
    if (info != 40 && info != 124) return 0;
    const uint32_t size = Le32(s + 2);
    if (size == 0) return 0;
    candidate.type = 9;
    candidate.size = size;
    return 1;
}

bool FileBMPAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back('B' | ('M' << 8));
    return true;
}

}  // namespace keldrin
