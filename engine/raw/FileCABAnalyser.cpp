#include "engine/raw/FileCABAnalyser.h"

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

int FileCABAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (!SameBytes(s, "MSCF", 4, false)) return 0;
    // Reserved fields are zero and the format version is 1.3.
    if (Le32(s + 4) != 0 || Le32(s + 12) != 0 || Le32(s + 20) != 0 || Le16(s + 24) != 0x0103) return 0;
    const uint32_t size = Le32(s + 8);
    if (size == 0) return 0;
    candidate.type = 10;
    candidate.size = size;
    return 1;
}

bool FileCABAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back('M' | ('S' << 8));
    return true;
}

}  // namespace keldrin
