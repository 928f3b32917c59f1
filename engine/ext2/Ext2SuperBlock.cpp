#include "engine/ext2/Ext2SuperBlock.h"

#include <algorithm>
#include <cstring>

#include "engine/ext2/Ext2Le.h"

namespace keldrin::ext2 {
namespace {

// Linux mounts block sizes of 1 KiB to 64 KiB; e2fsprogs makes all of them.
constexpr uint32_t kMaxLogBlockSize = 6;

}  // namespace

CExt2SuperBlock::CExt2SuperBlock(std::span<const uint8_t> bytes) {
    bytes_.fill(0);
    std::copy_n(bytes.begin(), std::min(bytes.size(), bytes_.size()), bytes_.begin());
}

void CExt2SuperBlock::Store(size_t offset, uint32_t value, size_t width) {
    for (size_t i = 0; i < width; ++i) bytes_[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

std::string CExt2SuperBlock::VolumeName() const {
    const char* name = reinterpret_cast<const char*>(bytes_.data() + 0x78);
    return std::string(name, strnlen(name, 16));
}

uint32_t CExt2SuperBlock::BlockSize() const {
    return LogBlockSize() > kMaxLogBlockSize ? 0 : 1024u << LogBlockSize();
}

uint64_t CExt2SuperBlock::GroupCount() const {
    const uint64_t perGroup = BlocksPerGroup();
    if (perGroup == 0 || BlocksCount() <= FirstDataBlock()) return 0;
    return (uint64_t{BlocksCount()} - FirstDataBlock() + perGroup - 1) / perGroup;
}

void CExt2SuperBlock::Normalise() {
    // Revision 0 has no inode size field; the slot size is fixed.
    if (RevisionLevel() == 0) Store(0x58, kGoodOldInodeSize, 2);
    Store(0x14, BlockSize() == 1024 ? 1 : 0, 4);
    if (BlocksPerGroup() == 0) return;
    const uint64_t groups = GroupCount();
    const uint64_t perGroup = InodesPerGroup();
    const uint64_t inodes = InodesCount();
    if (FirstInode() < inodes && groups > 0 && (groups - 1) * perGroup < inodes &&
        inodes <= groups * perGroup)
        return;
    const uint64_t fixed = groups * perGroup;
    Store(0x00, fixed > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(fixed), 4);
}

bool CExt2SuperBlock::IsValid() const {
    if (Magic() != kExt2Magic) return false;
    if (BlocksCount() == 0 || InodesCount() == 0 || BlocksPerGroup() == 0 || InodesPerGroup() == 0)
        return false;
    const uint32_t blockSize = BlockSize();
    if (blockSize == 0) return false;
    const uint64_t groups = GroupCount();
    if (groups == 0 || groups < GroupNumber()) return false;
    // A slot must hold the 128 bytes the reader uses, and whole slots must fill a block.
    const uint32_t inodeSize = InodeSize();
    if (inodeSize < kGoodOldInodeSize || inodeSize > blockSize || (inodeSize & (inodeSize - 1)) != 0)
        return false;
    // One block of bitmap covers 8 × block size blocks or inodes: no group can hold more.
    const uint64_t bitsPerBitmap = uint64_t{8} * blockSize;
    if (BlocksPerGroup() > bitsPerBitmap || InodesPerGroup() > bitsPerBitmap) return false;
    // More inodes than blocks is legal (mke2fs -N, small volumes with 4 KiB blocks), so that is
    // not part of the test.
    return FirstInode() < InodesCount() && groups * InodesPerGroup() >= InodesCount();
}

bool CExt2SuperBlock::SameVolume(const CExt2SuperBlock& other) const {
    return Magic() == other.Magic() && LogBlockSize() == other.LogBlockSize() &&
           BlocksCount() == other.BlocksCount() && InodesCount() == other.InodesCount() &&
           BlocksPerGroup() == other.BlocksPerGroup() && InodesPerGroup() == other.InodesPerGroup() &&
           InodeSize() == other.InodeSize() && FirstDataBlock() == other.FirstDataBlock() &&
           std::equal(VolumeId().begin(), VolumeId().end(), other.VolumeId().begin());
}

}  // namespace keldrin::ext2
