// An Ext2/3 volume on a sector device: its superblock, group descriptors, blocks and inodes.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/devices/StorageDevice.h"
#include "engine/ext2/Ext2Gc.h"
#include "engine/ext2/Ext2Inode.h"
#include "engine/ext2/Ext2SuperBlock.h"

namespace keldrin::ext2 {

inline constexpr size_t kGroupDescriptorSize = 32;

class CExt2FileSystem {
  public:
    // Reads and checks the superblock at superBlockSector and a usable descriptor table; throws
    // CExt2ReadSectorError, CExt2BadSuperBlock or CExt2BadGroupDescriptor.
    CExt2FileSystem(IStorageDevice* device, int64_t superBlockSector);
    // Takes both structures from the caller (a scan that found them elsewhere).
    CExt2FileSystem(IStorageDevice* device, int64_t partitionStart, const CExt2SuperBlock& superBlock,
                    std::vector<uint8_t> descriptors);
    CExt2FileSystem(const CExt2FileSystem&) = default;
    // The same volume read through another device that holds the same sectors.
    CExt2FileSystem(const CExt2FileSystem& other, IStorageDevice* device) : CExt2FileSystem(other) {
        device_ = device;
    }
    CExt2FileSystem& operator=(const CExt2FileSystem&) = delete;

    const CExt2SuperBlock& SuperBlock() const { return superBlock_; }
    const std::vector<uint8_t>& Descriptors() const { return descriptors_; }
    IStorageDevice* Device() const { return device_; }
    int64_t PartitionStart() const { return primarySector_ - 2; }
    uint32_t BlockSize() const { return blockSize_; }
    uint32_t SectorsPerBlock() const { return blockSize_ / 512; }
    uint32_t BlocksCount() const { return superBlock_.BlocksCount(); }
    uint32_t InodesCount() const { return superBlock_.InodesCount(); }
    uint32_t InodesPerGroup() const { return superBlock_.InodesPerGroup(); }
    uint32_t InodeSize() const { return superBlock_.InodeSize(); }
    uint64_t GroupCount() const { return groupCount_; }
    // Blocks of the volume that the device holds: no file or directory can have more.
    uint64_t DeviceBlocks() const;
    bool HasLargeFiles() const { return superBlock_.HasLargeFiles(); }
    // kFsExt3 with a journal inode, else kFsExt2.
    int Type() const;

    // Reads count blocks from first; throws std::out_of_range("CExt2FileSystem::ReadBlocks")
    // when the read starts outside the device, CExt2ReadSectorError (buffer zero-filled) when the
    // device fails. Blocks past the device's end read as zeros.
    void ReadBlocks(void* buffer, uint64_t first, uint64_t count) const;

    uint32_t InodeTableBlock(uint64_t group) const;
    // Blocks an inode table takes.
    uint32_t InodeTableBlocks() const;
    // False when n is not an inode of the volume; read errors throw as ReadBlocks does.
    bool ReadInode(uint32_t n, CExt2Inode& out) const;

  private:
    void Init();
    bool ReadGroupDescriptors();
    bool DescriptorsUsable(const std::vector<uint8_t>& table) const;

    CExt2SuperBlock superBlock_;
    std::vector<uint8_t> descriptors_;
    IStorageDevice* device_;
    int64_t primarySector_ = 2;
    int64_t deviceSectors_ = 0;
    uint32_t blockSize_ = 1024;
    uint64_t groupCount_ = 0;
};

// Walks the inodes in number order, reading each group's inode table a window at a time.
class CExt2InodeWalker {
  public:
    explicit CExt2InodeWalker(const CExt2FileSystem& fs) : fs_(fs) {}
    // Copies inode n (which must lie inside the volume); loads the window of its group's table
    // that holds it when the walk gets there. Throws as ReadBlocks does; false past the last group.
    bool Read(uint32_t n, CExt2Inode& out);

    static constexpr uint64_t kWindowBytes = uint64_t{1} << 20;

  private:
    const CExt2FileSystem& fs_;
    GcBytes table_;        // one window
    uint64_t loaded_ = 0;  // blocks of the current group's table that the device holds
    uint64_t group_ = UINT64_MAX;
    uint64_t window_ = UINT64_MAX;  // of the current group
    uint64_t windowStart_ = 0;      // byte offset of the window in the table
};

}  // namespace keldrin::ext2
