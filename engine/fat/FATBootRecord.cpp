#include "engine/fat/FATBootRecord.h"

#include <algorithm>
#include <cstring>

#include "engine/fat/FatBytes.h"

namespace keldrin::fat {
namespace {

bool TypeTextIs(const uint8_t* bytes, size_t offset, const char* text) {
    for (size_t i = 0; i < 8; ++i) {
        const unsigned char c = bytes[offset + i];
        const unsigned char lower = (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
        const unsigned char want = static_cast<unsigned char>(text[i]);
        const unsigned char wantLower = (want >= 'A' && want <= 'Z') ? want + ('a' - 'A') : want;
        if (lower != wantLower) return false;
    }
    return true;
}

bool IsClusterSize(uint8_t spc) {
    return spc != 0 && (spc & (spc - 1)) == 0;  // 1 .. 128 are the powers of two in a byte
}

bool RootEntriesUsable(uint16_t entries) {
    return entries >= 224 && entries <= 2048 && (uint32_t{entries} * 32) % 512 == 0;
}

bool CommonTests(const uint8_t* b) {
    return b[0x10] == 2 && IsClusterSize(b[0x0D]) && b[0x1FE] == 0x55 && b[0x1FF] == 0xAA;
}

}  // namespace

CFATBootRecord::CFATBootRecord(const void* bytes, size_t size) {
    if (bytes) std::memcpy(bytes_, bytes, std::min(size, kBootRecordSize));
    type_ = Classify(bytes_);
}

int CFATBootRecord::Classify(const uint8_t* b) {
    if (!b || !CommonTests(b)) return kFsUnknown;
    const uint16_t rootEntries = Le16(b + 0x11);
    const uint16_t fat16 = Le16(b + 0x16);
    if (TypeTextIs(b, 0x36, "FAT12   ") && RootEntriesUsable(rootEntries) && fat16 >= 1 && fat16 <= 200)
        return kFsFat12;
    if (TypeTextIs(b, 0x36, "FAT16   ") && RootEntriesUsable(rootEntries) && fat16 != 0) return kFsFat16;
    if (TypeTextIs(b, 0x52, "FAT32   ") && Le32(b + 0x24) != 0) return kFsFat32;
    return kFsUnknown;
}

uint32_t CFATBootRecord::GetTotalSectors() const {
    const uint16_t small = Le16(bytes_ + 0x13);
    switch (type_) {
        case kFsFat12:
            return small;
        case kFsFat16:
            return small ? small : Le32(bytes_ + 0x20);
        case kFsFat32:
            return Le32(bytes_ + 0x20);
        default:
            return 0;
    }
}

uint32_t CFATBootRecord::GetSectorsPerFAT() const {
    if (type_ == kFsFat12 || type_ == kFsFat16) return Le16(bytes_ + 0x16);
    if (type_ == kFsFat32) return Le32(bytes_ + 0x24);
    return 0;
}

uint32_t CFATBootRecord::GetRootCluster() const {
    return type_ == kFsFat32 ? Le32(bytes_ + 0x2C) : 0;
}
uint16_t CFATBootRecord::GetReservedSectors() const {
    return IsValid() ? Le16(bytes_ + 0x0E) : 0;
}
uint8_t CFATBootRecord::GetNumberOfFATs() const {
    return IsValid() ? bytes_[0x10] : 0;
}
uint8_t CFATBootRecord::GetSectorsPerCluster() const {
    return IsValid() ? bytes_[0x0D] : 0;
}
uint16_t CFATBootRecord::GetRootEntries() const {
    return Le16(bytes_ + 0x11);
}

bool HasBootSignature(const uint8_t* sector) {
    return sector && sector[0] != 0 && sector[510] == 0x55 && sector[511] == 0xAA;
}

bool IsFATStart(const uint8_t* sector) {
    if (!sector) return false;
    const uint32_t first = Le32(sector);
    const bool fat32 = (first & 0x0FFFFFFF) == 0x0FFFFFF8;
    const bool fat16 = first == 0xFFFFFFF8;
    const bool fat12 = (first & 0x00FFFFF0) == 0x00FFFFF0;
    return fat32 || fat16 || fat12;
}

bool IsValidClusterNumber(int64_t n) {
    return n >= 2 && n <= 0x0FFFFFEF;
}

bool CheckFATPresence(IStorageDevice* device, const uint8_t* bootRecordBytes, int64_t partitionStart) {
    if (!device || !bootRecordBytes || partitionStart < 0) return false;
    const CFATBootRecord boot(bootRecordBytes, kBootRecordSize);
    if (!boot.IsValid()) return false;
    const uint64_t fats = uint64_t{boot.GetSectorsPerFAT()} * boot.GetNumberOfFATs();
    if (boot.GetTotalSectors() < fats) return false;
    uint8_t sector[kBootRecordSize];
    const int64_t first = partitionStart + boot.GetReservedSectors();
    if (device->ReadSectors(sector, first, 1) && IsFATStart(sector)) return true;
    return device->ReadSectors(sector, first + boot.GetSectorsPerFAT(), 1) && IsFATStart(sector);
}

}  // namespace keldrin::fat
