// One inode as the reader hands it out: the first 128 bytes of its slot (all that Ext2/3 keeps
// there besides extended attributes) and its number.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "engine/ext2/Ext2Le.h"

namespace keldrin::ext2 {

inline constexpr size_t kInodeBytes = 128;
inline constexpr uint32_t kRootInode = 2;
inline constexpr int kDirectPointers = 12;
inline constexpr int kBlockPointers = 15;

inline constexpr uint16_t kModeTypeMask = 0xF000;
inline constexpr uint16_t kModeDirectory = 0x4000;
inline constexpr uint16_t kModeRegular = 0x8000;
inline constexpr uint16_t kModeSymlink = 0xA000;

struct CExt2Inode {
    std::array<uint8_t, kInodeBytes> bytes{};
    uint32_t number = 0;

    std::span<const uint8_t> Bytes() const { return bytes; }
    uint16_t Mode() const { return Le16(bytes, 0x00); }
    uint16_t Type() const { return Mode() & kModeTypeMask; }
    bool IsDirectory() const { return Type() == kModeDirectory; }
    bool IsRegular() const { return Type() == kModeRegular; }
    uint32_t SizeLow() const { return Le32(bytes, 0x04); }
    // Regular files keep the high half at 0x6C once the volume allows large files; in
    // directories that field means something else.
    uint64_t Size(bool largeFiles) const {
        uint64_t size = SizeLow();
        if (largeFiles && IsRegular()) size |= uint64_t{Le32(bytes, 0x6C)} << 32;
        return size;
    }
    uint32_t AccessTime() const { return Le32(bytes, 0x08); }
    uint32_t ChangeTime() const { return Le32(bytes, 0x0C); }
    uint32_t ModificationTime() const { return Le32(bytes, 0x10); }
    uint32_t DeletionTime() const { return Le32(bytes, 0x14); }
    uint32_t AllocatedSectors() const { return Le32(bytes, 0x1C); }
    uint32_t Block(int index) const { return Le32(bytes, 0x28 + 4 * static_cast<size_t>(index)); }
};

}  // namespace keldrin::ext2
