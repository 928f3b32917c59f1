#include "engine/raw/FileFH11Analyser.h"

#include <cstring>

#include "engine/raw/RawWalk.h"

namespace keldrin {

using namespace rawwalk;

namespace {

constexpr uint8_t kMagic[16] = {0x1C, 0x01, 0x00, 0x00, 0x02, 0x00, 0x04, 0x1C,
                                0x01, 0x14, 0x00, 0x02, 0x00, 0x14, 0x1C, 0x01};
constexpr uint8_t kEnd[11] = {'D', 'e', 'c', 'o', 'd', 'e', 0x00, 0xFF, 0xFF, 0xFF, 0xFF};

}  // namespace

int FileFH11Analyser::CheckSignature(const uint8_t* s, CRawFileInfo& candidate) {
    if (std::memcmp(s, kMagic, sizeof(kMagic)) != 0 || !SameBytes(s + 34, "11", 2, false)) return 0;
    candidate.type = 27;
    candidate.size = 0;
    return 1;
}

int FileFH11Analyser::FindFileSize(CRawFileInfo& candidate, IStorageDevice* device) {
    CRawByteReader reader(device, candidate.startSector);
    int64_t size = 0;
    if (!FindEndMarker(reader, kEnd, sizeof(kEnd), 0, size)) return 0;
    candidate.size = size;
    return 1;
}

bool FileFH11Analyser::GetLeadingBytes(std::vector<uint16_t>& values) const {
    values.push_back(0x1C | (0x01 << 8));
    return true;
}

}  // namespace keldrin
