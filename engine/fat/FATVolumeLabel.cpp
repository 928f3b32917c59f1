#include "engine/fat/FATVolumeLabel.h"

#include <algorithm>
#include <vector>

#include "engine/fat/FATDirEntry.h"
#include "engine/fat/FatBytes.h"

namespace keldrin::fat {
namespace {

enum class ChunkResult { kNone, kFound, kUnreadable };

ChunkResult SearchChunk(IStorageDevice& device, int64_t first, uint32_t sectors, std::string& out) {
    std::vector<uint8_t> chunk(size_t{sectors} * kSectorSize);
    if (!device.ReadSectors(chunk.data(), first, sectors)) return ChunkResult::kUnreadable;
    for (size_t offset = 0; offset + kDirEntrySize <= chunk.size(); offset += kDirEntrySize) {
        const CFATDirEntry entry(chunk.data() + offset);
        if (!entry.IsValid(false)) return ChunkResult::kNone;
        if (entry.IsDeleted() || !entry.IsVolumeLabel()) continue;
        if (entry.FirstByte() == 0) return ChunkResult::kNone;
        out = entry.FormatShortName(true);
        return ChunkResult::kFound;
    }
    return ChunkResult::kNone;
}

}  // namespace

bool ReadVolumeLabel(IStorageDevice* device, int64_t partitionStart, const CFATBootRecord& boot,
                     std::string& out) {
    out.clear();
    if (!device || !boot.IsValid() || partitionStart < 0) return false;
    const uint32_t spc = boot.GetSectorsPerCluster();
    const int64_t fatStart = partitionStart + boot.GetReservedSectors();
    const int64_t fatEnd = fatStart + int64_t{boot.GetNumberOfFATs()} * boot.GetSectorsPerFAT();
    if (boot.GetType() != kFsFat32) {
        const uint32_t rootSectors = uint32_t{boot.GetRootEntries()} * 32 / kSectorSize;
        if (rootSectors == 0) return false;
        for (uint32_t i = 0; i <= (rootSectors - 1) / spc; ++i)
            if (SearchChunk(*device, fatEnd + int64_t{i} * spc, spc, out) == ChunkResult::kFound) return true;
        return false;
    }
    // The root chain, read from the first FAT in pieces of one cluster's worth of sectors.
    const uint64_t entriesPerPiece = uint64_t{spc} * 128;
    const uint64_t total = boot.GetTotalSectors();
    const uint64_t dataSectors =
        total > uint64_t(fatEnd - partitionStart) ? total - (fatEnd - partitionStart) : 0;
    // No chain holds more clusters than the volume has or the FAT can name; a cluster met twice
    // means the chain loops.
    const uint64_t clusters = std::min<uint64_t>(dataSectors / spc, uint64_t{boot.GetSectorsPerFAT()} * 128);
    std::vector<bool> searched(clusters + 2, false);
    std::vector<uint8_t> piece(size_t{spc} * kSectorSize);
    int64_t loadedPiece = -1;
    uint64_t c = boot.GetRootCluster();
    while (IsValidClusterNumber(static_cast<int64_t>(c)) && c < clusters + 2 && !searched[c]) {
        searched[c] = true;
        const ChunkResult result = SearchChunk(*device, fatEnd + static_cast<int64_t>(c - 2) * spc, spc, out);
        if (result == ChunkResult::kFound) return true;
        const int64_t pieceIndex = static_cast<int64_t>(c / entriesPerPiece);
        if (pieceIndex != loadedPiece) {
            if (!device->ReadSectors(piece.data(), fatStart + pieceIndex * spc, spc)) return false;
            loadedPiece = pieceIndex;
        }
        c = Le32(piece.data() + (c % entriesPerPiece) * 4);
    }
    return false;
}

}  // namespace keldrin::fat
