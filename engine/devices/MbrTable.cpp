#include "engine/devices/MbrTable.h"

#include <algorithm>

namespace keldrin {
namespace {

constexpr int kFirstEntry = 446;
constexpr int kEntrySize = 16;

uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

bool HasBootSignature(const uint8_t* sector) {
    return sector[510] == 0x55 && sector[511] == 0xAA;
}

bool ReadMbrEntries(const uint8_t* sector, MbrEntries& entries) {
    entries = MbrEntries{};
    if (!HasBootSignature(sector)) return false;
    MbrEntries read;
    for (int i = 0; i < 4; ++i) {
        const uint8_t* p = sector + kFirstEntry + i * kEntrySize;
        if (p[0] != 0x00 && p[0] != 0x80) return false;
        read[i].status = p[0];
        read[i].type = p[4];
        read[i].relativeStart = Le32(p + 8);
        read[i].sectorCount = Le32(p + 12);
        read[i].empty = std::all_of(p, p + kEntrySize, [](uint8_t b) { return b == 0; });
    }
    entries = read;
    return true;
}

}  // namespace keldrin
