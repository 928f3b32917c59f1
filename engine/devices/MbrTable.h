// The four partition entries of an MBR or EBR sector.
#pragma once

#include <array>
#include <cstdint>

namespace keldrin {

inline constexpr uint8_t kMbrTypeExtended = 0x05;
inline constexpr uint8_t kMbrTypeExtendedLba = 0x0F;
inline constexpr uint8_t kMbrTypeDynamic = 0x42;
inline constexpr uint8_t kMbrTypeGptProtective = 0xEE;

struct MbrEntry {
    uint8_t status = 0;
    uint8_t type = 0;
    uint32_t relativeStart = 0;
    uint32_t sectorCount = 0;
    bool empty = true;  // all 16 bytes zero

    bool IsExtended() const { return type == kMbrTypeExtended || type == kMbrTypeExtendedLba; }
};

using MbrEntries = std::array<MbrEntry, 4>;

// Whether bytes 510 and 511 of the sector are 0x55 0xAA.
bool HasBootSignature(const uint8_t* sector);

// The entries at byte 446 of a 512-byte sector. False (and no entries) when the sector lacks the boot
// signature or an entry's status byte is neither 0x00 nor 0x80.
bool ReadMbrEntries(const uint8_t* sector, MbrEntries& entries);

}  // namespace keldrin
