#include "engine/raw/FileONEAnalyser.h"

#include <cstring>

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

namespace {

constexpr uint8_t kSectionId[16] = {0xE4, 0x52, 0x5C, 0x7B, 0x8C, 0xD8, 0xA7, 0x4D,
                                    0xAE, 0xB1, 0x53, 0x78, 0xD0, 0x29, 0x96, 0xD3};

}  // namespace

int FileONEAnalyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (std::memcmp(s, kSectionId, sizeof(kSectionId)) != 0) return 0;
    candidate.type = 45;
    candidate.size = 1048576;
    return 1;
}

bool FileONEAnalyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back(0xE4 | (0x52 << 8));
    return true;
}

}  // namespace keldrin
