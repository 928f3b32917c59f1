#include "engine/raw/FileSWFAnalyser.h"

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

int FileSWFAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (!SameBytes(s, "FWS", 3, false) && !SameBytes(s, "CWS", 3, false)) return 0;
    // A compressed movie states its inflated length, so its carve runs a little long; the
    // inflater stops at its own end.
    const uint32_t size = Le32(s + 4);
    if (size == 0) return 0;
    candidate.type = 58;
    candidate.size = size;
    return 1;
}

bool FileSWFAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back('F' | ('W' << 8));
    values.push_back('C' | ('W' << 8));
    return true;
}

}  // namespace keldrin
