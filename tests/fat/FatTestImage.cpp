#include "tests/fat/FatTestImage.h"

#include <cstring>

namespace keldrin::fat::test {
namespace {

void Put16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
    Put16(p, static_cast<uint16_t>(v));
    Put16(p + 2, static_cast<uint16_t>(v >> 16));
}

uint8_t Checksum(const std::string& shortName) {
    uint8_t sum = 0;
    for (char c : shortName)
        sum = static_cast<uint8_t>(((sum & 1) << 7) + (sum >> 1) + static_cast<uint8_t>(c));
    return sum;
}

}  // namespace

bool MemoryDevice::ReadSectors(void* buffer, int64_t firstSector, int64_t sectorCount) {
    readSectors_.insert(firstSector);
    const uint64_t begin = static_cast<uint64_t>(firstSector) * kSectorSize;
    const uint64_t size = static_cast<uint64_t>(sectorCount) * kSectorSize;
    if (firstSector < 0 || sectorCount < 0 || begin + size > bytes_->size()) return false;
    std::memcpy(buffer, bytes_->data() + begin, size);
    return true;
}

size_t WriteEntry(uint8_t* at, const EntrySpec& spec) {
    std::string name = spec.shortName;
    name.resize(11, ' ');
    size_t written = 0;
    if (!spec.longName.empty()) {
        std::u16string units = spec.longName;
        const size_t pieces = (units.size() + 12) / 13;
        if (units.size() % 13) units.push_back(0);
        units.resize(pieces * 13, 0xFFFF);
        static constexpr size_t kOffsets[13] = {1, 3, 5, 7, 9, 14, 16, 18, 20, 22, 24, 28, 30};
        for (size_t p = pieces; p-- > 0;) {
            uint8_t* e = at + written * 32;
            std::memset(e, 0, 32);
            e[0] = static_cast<uint8_t>((p + 1) | (p + 1 == pieces ? 0x40 : 0));
            if (static_cast<uint8_t>(name[0]) == 0xE5) e[0] = 0xE5;
            e[0x0B] = 0x0F;
            e[0x0D] = Checksum(name);
            for (size_t u = 0; u < 13; ++u) Put16(e + kOffsets[u], units[p * 13 + u]);
            ++written;
        }
    }
    uint8_t* e = at + written * 32;
    std::memset(e, 0, 32);
    std::memcpy(e, name.data(), 11);
    e[0x0B] = spec.attributes;
    Put16(e + 0x14, static_cast<uint16_t>(spec.cluster >> 16));
    Put16(e + 0x16, spec.writeTime);
    Put16(e + 0x18, spec.writeDate);
    Put16(e + 0x1A, static_cast<uint16_t>(spec.cluster));
    Put32(e + 0x1C, spec.size);
    return written + 1;
}

void WriteDotEntries(uint8_t* at, uint32_t self, uint32_t parent) {
    WriteEntry(at, {".", 0x10, self, 0});
    WriteEntry(at + 32, {"..", 0x10, parent, 0});
}

int64_t FatImage::DataStart() const {
    const int64_t fatEnd = FatStart(2);
    return type == 2 ? fatEnd : fatEnd + rootEntries * 32 / kSectorSize;
}

FatImage FatImage::Fat16(int64_t partitionStart, uint32_t dataClusters) {
    FatImage image;
    image.type = 1;
    image.partitionStart = partitionStart;
    image.totalSectors = image.reserved + 2 * image.sectorsPerFAT + 32 + dataClusters;
    image.bytes.assign((partitionStart + image.totalSectors) * kSectorSize, 0);
    uint8_t* b = image.Boot();
    b[0] = 0xEB;
    b[0x0D] = 1;
    Put16(b + 0x0E, static_cast<uint16_t>(image.reserved));
    b[0x10] = 2;
    Put16(b + 0x11, static_cast<uint16_t>(image.rootEntries));
    Put16(b + 0x13, static_cast<uint16_t>(image.totalSectors));
    Put16(b + 0x16, static_cast<uint16_t>(image.sectorsPerFAT));
    std::memcpy(b + 0x36, "FAT16   ", 8);
    b[0x1FE] = 0x55;
    b[0x1FF] = 0xAA;
    image.SetFat(0, 0xFFF8);
    image.SetFat(1, 0xFFFF);
    return image;
}

FatImage FatImage::Fat32(int64_t partitionStart, uint32_t dataClusters) {
    FatImage image;
    image.type = 2;
    image.partitionStart = partitionStart;
    image.reserved = 32;
    image.sectorsPerFAT = 256;
    image.rootEntries = 0;
    image.totalSectors = image.reserved + 2 * image.sectorsPerFAT + dataClusters;
    image.bytes.assign((partitionStart + image.totalSectors) * kSectorSize, 0);
    uint8_t* b = image.Boot();
    b[0] = 0xEB;
    b[0x0D] = 1;
    Put16(b + 0x0E, static_cast<uint16_t>(image.reserved));
    b[0x10] = 2;
    Put32(b + 0x20, image.totalSectors);
    Put32(b + 0x24, image.sectorsPerFAT);
    Put32(b + 0x2C, 2);
    std::memcpy(b + 0x52, "FAT32   ", 8);
    b[0x1FE] = 0x55;
    b[0x1FF] = 0xAA;
    std::memcpy(image.Sector(partitionStart + 6), b, kSectorSize);
    image.SetFat(0, 0x0FFFFFF8);
    image.SetFat(1, 0x0FFFFFFF);
    image.SetFat(2, 0x0FFFFFFF);  // the root
    return image;
}

void FatImage::SetFat(uint32_t cluster, uint32_t value, int copy) {
    for (int c = 0; c < 2; ++c) {
        if (copy >= 0 && c != copy) continue;
        uint8_t* fat = Sector(FatStart(c));
        if (type == 2) {
            Put32(fat + cluster * 4, value);
        } else {
            Put16(fat + cluster * 2, static_cast<uint16_t>(value));
        }
    }
}

uint32_t FatImage::GetFat(uint32_t cluster, int copy) const {
    const uint8_t* fat = bytes.data() + FatStart(copy) * kSectorSize;
    if (type == 2)
        return fat[cluster * 4] | (fat[cluster * 4 + 1] << 8) | (fat[cluster * 4 + 2] << 16) |
               (uint32_t{fat[cluster * 4 + 3]} << 24);
    return fat[cluster * 2] | (fat[cluster * 2 + 1] << 8);
}

uint8_t* FatImage::MakeFolder(uint32_t cluster, uint32_t parent) {
    uint8_t* at = Cluster(cluster);
    WriteDotEntries(at, cluster, parent);
    if (GetFat(cluster) == 0) SetFat(cluster, type == 2 ? 0x0FFFFFFF : 0xFFFF);
    return at + 64;
}

}  // namespace keldrin::fat::test
