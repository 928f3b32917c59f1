#include "engine/raw/FilePSTAnalyser.h"

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

int FilePSTAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (!SameBytes(s, "!BDN", 4, false)) return 0;
    int64_t size = 1048576;  // a version whose header is not known here
    const uint32_t version = Le16(s + 10);
    if (version == 14) {
        size = Le32(s + 168);
    } else if (version == 23) {
        // The Unicode format keeps a 64-bit size: its low half alone would wrap beyond 4 GiB.
        const uint64_t wide = Le32(s + 184) | (uint64_t{Le32(s + 188)} << 32);
        if (wide > (uint64_t{1} << 62)) return 0;
        size = static_cast<int64_t>(wide);
    }
    if (size == 0) return 0;
    candidate.type = 52;
    candidate.size = size;
    return 1;
}

bool FilePSTAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back('!' | ('B' << 8));
    return true;
}

}  // namespace keldrin
