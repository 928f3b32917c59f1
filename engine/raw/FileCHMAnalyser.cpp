#include "engine/raw/FileCHMAnalyser.h"

#include <cstring>

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

namespace {

constexpr uint8_t kClassId1[16] = {0x10, 0xFD, 0x01, 0x7C, 0xAA, 0x7B, 0xD0, 0x11,
                                   0x9E, 0x0C, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC};
constexpr uint8_t kClassId2[16] = {0x11, 0xFD, 0x01, 0x7C, 0xAA, 0x7B, 0xD0, 0x11,
                                   0x9E, 0x0C, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC};

}  // namespace

int FileCHMAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (!SameBytes(s, "ITSF", 4, false) || Le32(s + 8) != 96) return 0;
    if (std::memcmp(s + 24, kClassId1, 16) != 0 || std::memcmp(s + 40, kClassId2, 16) != 0) return 0;
    // The first header section, right after the 96-byte header, holds the file's size.
    const uint8_t* section = s + 96;
    if (Le32(section) != 0x1FE || Le32(section + 4) != 0 || Le32(section + 16) != 0 ||
        Le32(section + 20) != 0)
        return 0;
    const uint64_t size = Le32(section + 8) | (uint64_t{Le32(section + 12)} << 32);
    if (size == 0 || size > (uint64_t{1} << 62)) return 0;
    candidate.type = 12;
    candidate.size = static_cast<int64_t>(size);
    return 1;
}

bool FileCHMAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back('I' | ('T' << 8));
    return true;
}

}  // namespace keldrin
