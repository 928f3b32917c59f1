// A copy of the 1024 bytes of an Ext2/3 superblock, its derived values and its test.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "engine/ext2/Ext2Le.h"

namespace keldrin::ext2 {

inline constexpr size_t kSuperBlockSize = 1024;
inline constexpr uint16_t kExt2Magic = 0xEF53;
inline constexpr uint32_t kRoCompatLargeFile = 0x0002;
inline constexpr uint32_t kGoodOldInodeSize = 128;

class CExt2SuperBlock {
  public:
    CExt2SuperBlock() { bytes_.fill(0); }
    // Copies up to 1024 bytes; the rest stays zero.
    explicit CExt2SuperBlock(std::span<const uint8_t> bytes);

    uint32_t InodesCount() const { return Field(0x00); }
    uint32_t BlocksCount() const { return Field(0x04); }
    uint32_t FirstDataBlock() const { return Field(0x14); }
    uint32_t LogBlockSize() const { return Field(0x18); }
    uint32_t BlocksPerGroup() const { return Field(0x20); }
    uint32_t InodesPerGroup() const { return Field(0x28); }
    uint16_t Magic() const { return Field16(0x38); }
    uint32_t RevisionLevel() const { return Field(0x4C); }
    uint32_t FirstInode() const { return Field(0x54); }
    uint16_t InodeSizeField() const { return Field16(0x58); }
    uint16_t GroupNumber() const { return Field16(0x5A); }
    uint32_t FeatureRoCompat() const { return Field(0x64); }
    uint32_t JournalInode() const { return Field(0xE0); }
    std::span<const uint8_t, 16> VolumeId() const {
        return std::span<const uint8_t, 16>(bytes_.data() + 0x68, 16);
    }
    // Up to the first zero of the 16 bytes.
    std::string VolumeName() const;

    // 1024 << log block size; 0 when the shift is out of range.
    uint32_t BlockSize() const;
    uint32_t SectorsPerBlock() const { return BlockSize() / 512; }
    // Groups that the blocks count needs; 0 without blocks per group.
    uint64_t GroupCount() const;
    // The size of one inode table slot: 128 before revision 1, else the field (after Normalise).
    uint32_t InodeSize() const { return InodeSizeField(); }
    bool HasLargeFiles() const { return (FeatureRoCompat() & kRoCompatLargeFile) != 0; }

    // Puts the fields the reader relies on into a consistent form before the test.
    void Normalise();
    // All the conditions under which the reader can trust the geometry.
    bool IsValid() const;
    // Whether a backup copy describes the same volume as this one.
    bool SameVolume(const CExt2SuperBlock& other) const;

    std::span<const uint8_t> Bytes() const { return bytes_; }

  private:
    // Inline: the inode pass asks for the geometry several times per inode.
    uint32_t Field(size_t offset) const { return Le32(bytes_, offset); }
    uint16_t Field16(size_t offset) const { return Le16(bytes_, offset); }
    void Store(size_t offset, uint32_t value, size_t width);

    std::array<uint8_t, kSuperBlockSize> bytes_;
};

}  // namespace keldrin::ext2
