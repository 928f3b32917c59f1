// The partition-entry array of a GPT disk.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/devices/StorageDevice.h"

namespace keldrin {

struct GptArrayLayout {
    int64_t firstSector = 2;
    uint32_t entryCount = 128;
    uint32_t entrySize = 128;
    bool fromHeader = false;
};

// The array is read whole; a header asking for more is cut to this.
inline constexpr int64_t kMaxGptArrayBytes = int64_t{1} << 20;

// Where the entry array lies. The header at sector 1 is followed only when it is intact (signature,
// header CRC, an entry size that is a multiple of 8 from 128 to 4096, an array after the header); a
// header asking for a larger array keeps the entries that fit in kMaxGptArrayBytes. Otherwise the
// array is taken from sector 2 with 128 entries of 128 bytes, as nearly every partitioner writes it.
GptArrayLayout ReadGptLayout(IStorageDevice* disk);

struct GptEntry {
    int index = 0;  // in the array, from 0
    std::array<uint8_t, 16> type{};
    uint64_t firstSector = 0;
    uint64_t lastSector = 0;  // inclusive
};

// The entries with a non-zero type GUID, in array order. Sectors of the array that lie past the disk end
// or cannot be read give no entries.
std::vector<GptEntry> ReadGptEntries(IStorageDevice* disk);

}  // namespace keldrin
