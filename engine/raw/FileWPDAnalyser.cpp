#include "engine/raw/FileWPDAnalyser.h"

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

namespace {

// The product and file-type words of the prefix (at 8) and the version words (at 14).
int KindOf(uint32_t product, uint32_t version) {
    if (product == 0x01020A01 && version == 0x00050200) return 64;
    if (product == 0x00021601 && version == 0x00030000) return 65;
    if (product == 0x00010F0F && version == 0x00030000) return 57;
    return 0;
}

}  // namespace

int FileWPDAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (s[0] != 0xFF || !SameBytes(s + 1, "WPC", 3, false)) return 0;
    const int type = KindOf(Le32(s + 8), Le32(s + 14));
    const uint32_t size = Le32(s + 20);
    if (type == 0 || size == 0) return 0;
    candidate.type = type;
    candidate.size = size;
    return 1;
}

bool FileWPDAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back(0xFF | ('W' << 8));
    return true;
}

}  // namespace keldrin
