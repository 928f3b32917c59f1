#include "engine/raw/FileTTFAnalyser.h"

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

namespace {

constexpr uint32_t kMaxTables = 31;  // the directory fits the first sector

bool IsKnownTag(const uint8_t* tag) {
    static const char* const kTags[] = {"DSIG", "cmap", "glyf", "head", "hhea", "hmtx", "loca",
                                        "maxp", "name", "post", "OS/2", "cvt ", "EBDT", "EBLC",
                                        "EBSC", "fpgm", "gasp", "hdmx", "kern", "LTSH", "prep",
                                        "PCLT", "VDMX", "vhea", "vmtx"};
    for (const char* known : kTags)
        if (SameBytes(tag, known, 4, false)) return true;
    return false;
}

}  // namespace

int FileTTFAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (Be32(s) != 0x00010000) return 0;
    const uint32_t count = Be16(s + 4);
    if (count == 0 || count > kMaxTables) return 0;
    uint32_t known = 0;
    int64_t size = 12 + 16 * int64_t{count};
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* entry = s + 12 + 16 * i;
        if (IsKnownTag(entry)) ++known;
        size += (int64_t{Be32(entry + 12)} + 3) / 4 * 4;
    }
    if (2 * known < count) return 0;
    candidate.type = 61;
    candidate.size = size;
    return 1;
}

bool FileTTFAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back(0x0100);
    return true;
}

}  // namespace keldrin
