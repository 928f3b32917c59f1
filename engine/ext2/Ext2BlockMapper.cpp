#include "engine/ext2/Ext2BlockMapper.h"

#include <cstring>
#include <stdexcept>

#include "engine/ext2/Ext2Errors.h"

namespace keldrin::ext2 {

CExt2BlockMapper::CExt2BlockMapper(const CExt2FileSystem& fs, const CExt2Inode& inode)
    : fs_(fs), blocksCount_(fs.BlocksCount()), perBlock_(fs.BlockSize() / 4) {
    for (int i = 0; i < kBlockPointers; ++i) pointers_[i] = inode.Block(i);
}

uint64_t CExt2BlockMapper::AddressableBlocks() const {
    const uint64_t n = perBlock_;
    return kDirectPointers + n + n * n + n * n * n;
}

const uint32_t* CExt2BlockMapper::Load(int depth, uint32_t block) {
    Level& level = levels_[depth];
    if (level.block == block && level.data) return reinterpret_cast<const uint32_t*>(level.data.get());
    if (!level.data) level.data = AllocateGcBytes(fs_.BlockSize());
    level.block = 0;
    ++reads_;
    try {
        fs_.ReadBlocks(level.data.get(), block, 1);
    } catch (const CExt2ReadSectorError&) {
        // Zero-filled: the subtree reads as a hole.
    } catch (const std::out_of_range&) {
        std::memset(level.data.get(), 0, fs_.BlockSize());
    }
    level.block = block;
    level.allZero = true;
    const auto* words = reinterpret_cast<const uint32_t*>(level.data.get());
    for (uint64_t i = 0; i < perBlock_ && level.allZero; ++i) level.allZero = words[i] == 0;
    return words;
}

uint32_t CExt2BlockMapper::Map(uint64_t k, uint64_t* holeRun) {
    uint64_t skip = 1;
    uint32_t result = 0;
    const uint64_t n = perBlock_;
    if (k < kDirectPointers) {
        result = Valid(pointers_[k]) ? pointers_[k] : 0;
    } else {
        // Which indirect tree holds k, and k's position inside it.
        uint64_t rel = k - kDirectPointers;
        int depth = 1;
        uint64_t size = n;
        while (depth <= 3 && rel >= size) {
            rel -= size;
            ++depth;
            size *= n;
        }
        if (depth > 3) {
            if (holeRun) *holeRun = 1;
            return 0;
        }
        uint32_t block = pointers_[kDirectPointers + depth - 1];
        uint64_t subtree = size;  // logical blocks under block
        for (int d = 0; d < depth; ++d) {
            if (!Valid(block)) {
                skip = subtree - rel % subtree;
                block = 0;
                break;
            }
            const uint32_t* words = Load(d, block);
            const uint64_t entrySpan = subtree / n;
            const uint64_t index = (rel % subtree) / entrySpan;
            if (d == depth - 1) {
                block = words[index];
                if (!Valid(block)) {
                    uint64_t zeros = 1;
                    if (levels_[d].allZero)
                        zeros = n - index;
                    else
                        while (index + zeros < n && !Valid(words[index + zeros])) ++zeros;
                    skip = zeros;
                    block = 0;
                }
                break;
            }
            block = words[index];
            subtree = entrySpan;
        }
        result = block;
    }
    if (result == 0 && holeRun) *holeRun = skip;
    return result;
}

}  // namespace keldrin::ext2
