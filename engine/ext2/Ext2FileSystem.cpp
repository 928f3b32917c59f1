#include "engine/ext2/Ext2FileSystem.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "engine/devices/Volume.h"
#include "engine/ext2/Ext2Errors.h"
#include "engine/ext2/Ext2Le.h"

namespace keldrin::ext2 {
namespace {

// The groups that hold superblock and descriptor copies, in the order they are tried.
constexpr uint32_t kCopyGroups[] = {0, 1, 3, 5, 7, 9, 25, 27, 49, 81, 125};
// A descriptor table larger than this is damage, not a volume (it would describe millions of groups).
constexpr uint64_t kMaxDescriptorBytes = uint64_t{64} << 20;

}  // namespace

CExt2FileSystem::CExt2FileSystem(IStorageDevice* device, int64_t superBlockSector) : device_(device) {
    if (!device_ || superBlockSector < 0) throw CExt2ReadSectorError();
    deviceSectors_ = device_->GetTotalSectors();
    uint8_t bytes[kSuperBlockSize] = {};
    if (superBlockSector > deviceSectors_ - 2 || !device_->ReadSectors(bytes, superBlockSector, 2))
        throw CExt2ReadSectorError();
    superBlock_ = CExt2SuperBlock(bytes);
    superBlock_.Normalise();
    if (!superBlock_.IsValid()) throw CExt2BadSuperBlock();
    blockSize_ = superBlock_.BlockSize();
    groupCount_ = superBlock_.GroupCount();

    // A backup copy names its group: the primary lies that many groups before it.
    const uint64_t group = superBlock_.GroupNumber();
    const uint64_t back = group * superBlock_.BlocksPerGroup() * SectorsPerBlock();
    const int64_t adjust = superBlock_.FirstDataBlock() == 0 ? 2 : 0;
    if (group != 0 && back > static_cast<uint64_t>(superBlockSector) + adjust) throw CExt2BadSuperBlock();
    primarySector_ = group == 0 ? superBlockSector : superBlockSector - static_cast<int64_t>(back) + adjust;
    if (primarySector_ < 2) throw CExt2BadSuperBlock();

    // An image cut short (a disk read only in part) is still read: what lies past its end reads as
    // zeros, and the inode pass ends at the first inode table outside it. Only a device that cannot
    // even hold the first group's metadata is refused.
    const uint64_t available =
        static_cast<uint64_t>(std::max<int64_t>(0, deviceSectors_ - primarySector_ + 2));
    if (available * 512 < uint64_t{std::min(superBlock_.BlocksCount(), 4u)} * blockSize_)
        throw CExt2BadSuperBlock();
    if (!ReadGroupDescriptors()) throw CExt2BadGroupDescriptor();
}

CExt2FileSystem::CExt2FileSystem(IStorageDevice* device, int64_t partitionStart,
                                 const CExt2SuperBlock& superBlock, std::vector<uint8_t> descriptors)
    : superBlock_(superBlock), descriptors_(std::move(descriptors)), device_(device) {
    if (!device_ || partitionStart < 0) throw CExt2ReadSectorError();
    superBlock_.Normalise();
    if (!superBlock_.IsValid()) throw CExt2BadSuperBlock();
    deviceSectors_ = device_->GetTotalSectors();
    primarySector_ = partitionStart + 2;
    blockSize_ = superBlock_.BlockSize();
    groupCount_ = superBlock_.GroupCount();
    if (descriptors_.size() < groupCount_ * kGroupDescriptorSize) throw CExt2BadGroupDescriptor();
}

uint64_t CExt2FileSystem::DeviceBlocks() const {
    const int64_t sectors = deviceSectors_ - PartitionStart();
    if (sectors <= 0) return 0;
    return std::min<uint64_t>(BlocksCount(), static_cast<uint64_t>(sectors) / SectorsPerBlock());
}

int CExt2FileSystem::Type() const {
    return superBlock_.JournalInode() != 0 ? kFsExt3 : kFsExt2;
}

void CExt2FileSystem::ReadBlocks(void* buffer, uint64_t first, uint64_t count) const {
    const uint64_t spb = SectorsPerBlock();
    const uint64_t limit = static_cast<uint64_t>(INT64_MAX) / 2;
    if (first > limit / spb || count > limit / spb || count == 0)
        throw std::out_of_range("CExt2FileSystem::ReadBlocks");
    const int64_t sector = PartitionStart() + static_cast<int64_t>(first * spb);
    const int64_t n = static_cast<int64_t>(count * spb);
    if (sector < 0 || sector >= deviceSectors_ || n > deviceSectors_)
        throw std::out_of_range("CExt2FileSystem::ReadBlocks");
    // A volume cut short by its image reads as zeros past the end.
    const int64_t inside = std::min(n, deviceSectors_ - sector);
    auto* bytes = static_cast<uint8_t*>(buffer);
    if (inside < n) std::memset(bytes + inside * 512, 0, static_cast<size_t>(n - inside) * 512);
    if (!device_->ReadSectors(bytes, sector, inside)) {
        std::memset(bytes, 0, static_cast<size_t>(n) * 512);
        throw CExt2ReadSectorError();
    }
}

bool CExt2FileSystem::DescriptorsUsable(const std::vector<uint8_t>& table) const {
    const uint64_t perGroup = superBlock_.BlocksPerGroup();
    const uint64_t tableBlocks = InodeTableBlocks();
    for (uint64_t i = 0; i < groupCount_; ++i) {
        const uint64_t low = superBlock_.FirstDataBlock() + i * perGroup;
        const uint64_t high = low + perGroup;
        const size_t at = static_cast<size_t>(i * kGroupDescriptorSize);
        for (size_t field = 0; field < 3; ++field) {
            const uint64_t block = Le32(table, at + 4 * field);
            if (block < low || block >= high) return false;
        }
        // The whole inode table must lie inside the volume.
        if (uint64_t{Le32(table, at + 8)} + tableBlocks > superBlock_.BlocksCount()) return false;
    }
    return true;
}

bool CExt2FileSystem::ReadGroupDescriptors() {
    const uint64_t tableBytes = groupCount_ * kGroupDescriptorSize;
    const uint64_t sectors = (tableBytes + 511) / 512;
    if (tableBytes > kMaxDescriptorBytes) return false;
    std::vector<std::vector<uint8_t>> remembered;
    std::vector<uint8_t> inHand;
    for (uint32_t g : kCopyGroups) {
        if (g >= groupCount_) break;
        const uint64_t b = uint64_t{superBlock_.BlocksPerGroup()} * g + superBlock_.FirstDataBlock();
        try {
            if (g != 0) {
                // Backup copies start at their block's first byte.
                GcBytes copy = AllocateGcBytes(blockSize_);
                ReadBlocks(copy.get(), b, 1);
                CExt2SuperBlock backup(std::span<const uint8_t>(copy.get(), kSuperBlockSize));
                backup.Normalise();
                if (!backup.SameVolume(superBlock_)) continue;
            }
            const int64_t sector = PartitionStart() + static_cast<int64_t>((b + 1) * SectorsPerBlock());
            if (sector < 0 || sector + static_cast<int64_t>(sectors) > deviceSectors_) break;
            std::vector<uint8_t> table(static_cast<size_t>(sectors * 512));
            if (!device_->ReadSectors(table.data(), sector, static_cast<int64_t>(sectors))) break;
            if (!DescriptorsUsable(table)) continue;
            if (std::find(remembered.begin(), remembered.end(), table) != remembered.end()) {
                descriptors_ = std::move(table);
                return true;
            }
            inHand = table;
            remembered.push_back(std::move(table));
        } catch (const std::exception&) {
            break;
        }
    }
    if (!inHand.empty()) {
        descriptors_ = std::move(inHand);
        return true;
    }
    return false;
}

uint32_t CExt2FileSystem::InodeTableBlock(uint64_t group) const {
    return Le32(descriptors_, static_cast<size_t>(group * kGroupDescriptorSize + 8));
}

uint32_t CExt2FileSystem::InodeTableBlocks() const {
    const uint64_t bytes = uint64_t{InodesPerGroup()} * InodeSize();
    return static_cast<uint32_t>((bytes + blockSize_ - 1) / blockSize_);
}

bool CExt2FileSystem::ReadInode(uint32_t n, CExt2Inode& out) const {
    if (n == 0 || n > InodesCount()) return false;
    const uint64_t group = (n - 1) / InodesPerGroup();
    const uint64_t index = (n - 1) % InodesPerGroup();
    if (group >= groupCount_) return false;
    const uint64_t offset = index * InodeSize();
    const uint64_t block = InodeTableBlock(group) + offset / blockSize_;
    GcBytes buffer = AllocateGcBytes(blockSize_);
    ReadBlocks(buffer.get(), block, 1);
    std::memcpy(out.bytes.data(), buffer.get() + offset % blockSize_, kInodeBytes);
    out.number = n;
    return true;
}

bool CExt2InodeWalker::Read(uint32_t n, CExt2Inode& out) {
    if (n == 0 || n > fs_.InodesCount()) return false;
    const uint64_t group = (n - 1) / fs_.InodesPerGroup();
    if (group >= fs_.GroupCount()) return false;
    if (group != group_) {
        group_ = UINT64_MAX;
        window_ = UINT64_MAX;
        // Only the part of the table that the device holds is read; the rest reads as empty slots.
        const uint64_t first = fs_.InodeTableBlock(group);
        const uint64_t device = fs_.DeviceBlocks();
        loaded_ = first >= device ? 0 : std::min<uint64_t>(fs_.InodeTableBlocks(), device - first);
        if (loaded_ == 0) throw std::out_of_range("CExt2FileSystem::ReadBlocks");
        group_ = group;
    }
    const uint64_t offset = uint64_t{(n - 1) % fs_.InodesPerGroup()} * fs_.InodeSize();
    if (offset + kInodeBytes > loaded_ * fs_.BlockSize()) {
        out.bytes.fill(0);
        out.number = n;
        return true;
    }
    // The table is read a window at a time into one buffer: a table is megabytes, and every
    // megabyte of fresh memory costs more to fault in than to read.
    const uint64_t windowBlocks = std::max<uint64_t>(1, kWindowBytes / fs_.BlockSize());
    const uint64_t block = offset / fs_.BlockSize();
    const uint64_t window = block / windowBlocks;
    if (window != window_) {
        if (!table_) table_ = AllocateGcBytes(static_cast<size_t>(windowBlocks) * fs_.BlockSize(), false);
        const uint64_t start = window * windowBlocks;
        // An inode lies inside one block, so it never spans two windows.
        windowStart_ = start * fs_.BlockSize();
        window_ = window;
        // ReadBlocks fills the window with zeros when it fails: its inodes are empty, read once.
        fs_.ReadBlocks(table_.get(), fs_.InodeTableBlock(group) + start,
                       std::min(windowBlocks, loaded_ - start));
    }
    std::memcpy(out.bytes.data(), table_.get() + (offset - windowStart_), kInodeBytes);
    out.number = n;
    return true;
}

}  // namespace keldrin::ext2
