#include "engine/raw/FileMNYAnalyser.h"

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

int FileMNYAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (!SameBytes(s + 4, "MSISAM Database", 15, false)) return 0;
    candidate.type = 38;
    candidate.size = 1048576;
    return 1;
}

bool FileMNYAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back('M' | ('S' << 8));
    return true;
}

int FileMNYAnalyser::GetLeadingBytesOffset() const {
    return 4;
}

}  // namespace keldrin
