#include "engine/raw/FileEMFAnalyser.h"

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

int FileEMFAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (!SameBytes(s + 40, " EMF", 4, false) || Le16(s + 58) != 0) return 0;
    const uint32_t size = Le32(s + 48);
    if (size == 0) return 0;
    candidate.type = 24;
    candidate.size = size;
    return 1;
}

bool FileEMFAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back(' ' | ('E' << 8));
    return true;
}

int FileEMFAnalyser::GetLeadingBytesOffset() const {
    return 40;
}

}  // namespace keldrin
