#include "engine/raw/FileLowDocAnalyser.h"

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

int FileLowDocAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    const bool word2 = s[0] == 0xDB && s[1] == 0xA5 && s[2] == 0x2D && s[3] == 0x00;
    const bool word1 = s[0] == 0x94 && s[1] == 0xA6 && s[2] == 0x2E && s[3] == 0x00;
    if (!word2 && !word1) return 0;
    // Where the text ends plus the tail after it, in whole sectors as the format writes them.
    const int64_t end = int64_t{Le32(s + 292)} + Le16(s + 296);
    if (end == 0) return 0;  // a header without an extent states no size
    candidate.type = 21;
    candidate.size = (end + 511) / 512 * 512;
    return 1;
}

bool FileLowDocAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back(0xDB | (0xA5 << 8));
    values.push_back(0x94 | (0xA6 << 8));
    return true;
}

}  // namespace keldrin
