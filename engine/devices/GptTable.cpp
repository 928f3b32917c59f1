#include "engine/devices/GptTable.h"

#include <algorithm>
#include <cstring>

namespace keldrin {
namespace {

constexpr int64_t kHeaderSector = 1;
constexpr uint32_t kMinHeaderSize = 92;
constexpr uint32_t kMinEntrySize = 128;
constexpr uint32_t kMaxEntrySize = 4096;

uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

uint64_t Le64(const uint8_t* p) {
    return static_cast<uint64_t>(Le32(p)) | static_cast<uint64_t>(Le32(p + 4)) << 32;
}

uint32_t Crc32(const uint8_t* data, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

bool ReadHeaderLayout(IStorageDevice* disk, GptArrayLayout& layout) {
    uint8_t header[kSectorSize];
    if (!disk->ReadSectors(header, kHeaderSector, 1) || std::memcmp(header, "EFI PART", 8) != 0) return false;
    const uint32_t headerSize = Le32(header + 12);
    if (headerSize < kMinHeaderSize || headerSize > kSectorSize) return false;
    const uint32_t storedCrc = Le32(header + 16);
    std::memset(header + 16, 0, 4);
    if (Crc32(header, headerSize) != storedCrc) return false;

    const uint64_t arraySector = Le64(header + 72);
    const uint32_t count = Le32(header + 80);
    const uint32_t size = Le32(header + 84);
    if (arraySector <= static_cast<uint64_t>(kHeaderSector) ||
        arraySector >= static_cast<uint64_t>(disk->GetTotalSectors()) || size < kMinEntrySize ||
        size > kMaxEntrySize || size % 8 != 0)
        return false;
    layout.firstSector = static_cast<int64_t>(arraySector);
    layout.entrySize = size;
    layout.entryCount = static_cast<uint32_t>(std::min<int64_t>(count, kMaxGptArrayBytes / size));
    layout.fromHeader = true;
    return true;
}

}  // namespace

GptArrayLayout ReadGptLayout(IStorageDevice* disk) {
    GptArrayLayout layout;
    if (!disk || !ReadHeaderLayout(disk, layout)) layout = GptArrayLayout{};
    return layout;
}

std::vector<GptEntry> ReadGptEntries(IStorageDevice* disk) {
    std::vector<GptEntry> entries;
    if (!disk) return entries;
    const GptArrayLayout layout = ReadGptLayout(disk);
    const int64_t bytes = static_cast<int64_t>(layout.entryCount) * layout.entrySize;
    const int64_t available = disk->GetTotalSectors() - layout.firstSector;
    const int64_t sectors = std::min((bytes + kSectorSize - 1) / kSectorSize, available);
    if (sectors <= 0) return entries;

    std::vector<uint8_t> array(static_cast<size_t>(sectors * kSectorSize));
    std::vector<bool> sectorRead(static_cast<size_t>(sectors), true);
    if (!disk->ReadSectors(array.data(), layout.firstSector, sectors)) {
        // One bad sector of the array costs only the entries inside it.
        for (int64_t s = 0; s < sectors; ++s)
            sectorRead[static_cast<size_t>(s)] =
                disk->ReadSectors(array.data() + s * kSectorSize, layout.firstSector + s, 1);
    }
    for (uint32_t i = 0; i < layout.entryCount; ++i) {
        const int64_t offset = static_cast<int64_t>(i) * layout.entrySize;
        if (offset + 128 > sectors * kSectorSize) break;
        const int64_t firstSector = offset / kSectorSize, lastSector = (offset + 127) / kSectorSize;
        if (!sectorRead[static_cast<size_t>(firstSector)] || !sectorRead[static_cast<size_t>(lastSector)])
            continue;
        const uint8_t* p = array.data() + offset;
        if (std::all_of(p, p + 16, [](uint8_t b) { return b == 0; })) continue;
        GptEntry entry;
        entry.index = static_cast<int>(i);
        std::copy(p, p + 16, entry.type.begin());
        entry.firstSector = Le64(p + 32);
        entry.lastSector = Le64(p + 40);
        entries.push_back(entry);
    }
    return entries;
}

}  // namespace keldrin
