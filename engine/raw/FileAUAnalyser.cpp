#include "engine/raw/FileAUAnalyser.h"

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

int FileAUAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (!SameBytes(s, ".snd", 4, false)) return 0;
    const uint32_t offset = Be32(s + 4);
    const uint32_t length = Be32(s + 8);
    // All ones marks a length left unknown by a streaming writer.
    if (offset <= 23 || length == 0xFFFFFFFF) return 0;
    candidate.type = 7;
    candidate.size = int64_t{offset} + length;
    return 1;
}

bool FileAUAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back('.' | ('s' << 8));
    return true;
}

}  // namespace keldrin
