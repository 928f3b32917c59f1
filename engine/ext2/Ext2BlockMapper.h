// Where the logical blocks of one inode lie: the twelve direct pointers, then the single, double
// and triple indirect blocks. One indirect block is cached per depth, and read again only when the
// walk needs another block at that depth.
#pragma once

#include <cstdint>

#include "engine/ext2/Ext2FileSystem.h"
#include "engine/ext2/Ext2Gc.h"
#include "engine/ext2/Ext2Inode.h"

namespace keldrin::ext2 {

class CExt2BlockMapper {
  public:
    CExt2BlockMapper(const CExt2FileSystem& fs, const CExt2Inode& inode);

    // The volume block of logical block k, or 0 for a hole (no block, a pointer outside the
    // volume, or an unreadable indirect block). With a hole, holeRun (when given) receives how
    // many logical blocks from k on are certainly holes too (at least 1), so walks can skip a
    // missing indirect subtree at once.
    uint32_t Map(uint64_t k, uint64_t* holeRun = nullptr);

    // Logical blocks the pointers can address: 12 + n + n² + n³ with n pointers per block.
    uint64_t AddressableBlocks() const;
    // Indirect blocks read from the device so far.
    uint32_t IndirectReads() const { return reads_; }

  private:
    struct Level {
        uint32_t block = 0;  // 0: nothing cached
        GcBytes data;
        bool allZero = true;
    };
    const uint32_t* Load(int depth, uint32_t block);
    bool Valid(uint32_t block) const { return block != 0 && block < blocksCount_; }

    const CExt2FileSystem& fs_;
    uint32_t pointers_[kBlockPointers];
    uint32_t blocksCount_;
    uint64_t perBlock_;
    Level levels_[3];
    uint32_t reads_ = 0;
};

}  // namespace keldrin::ext2
