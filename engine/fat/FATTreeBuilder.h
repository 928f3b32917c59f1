// The working record of one FAT tree build and the steps that the quick build and the complete
// build (from a sector scan) share: parsing folders and their entries, the extents of a file,
// the decision between two folders that claim one cluster, and the clean-up of the tree.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "engine/devices/StorageDevice.h"
#include "engine/fat/FATDataRunList.h"
#include "engine/fat/FATFileProperties.h"
#include "engine/fat/FATTable.h"
#include "engine/model/FileNode.h"
#include "engine/model/FileSystemNode.h"
#include "engine/model/FileTree.h"
#include "engine/model/ProgressCallbacks.h"

namespace keldrin::fat {

inline constexpr int kAbortNone = 0;
inline constexpr int kAbortCancelled = 2;

// Where a volume's parts lie, in sectors of the device.
struct FatLayout {
    int type = kFsUnknown;  // kFsFat12, kFsFat16 or kFsFat32
    int64_t partitionStart = 0;
    uint32_t sectorsPerCluster = 1;
    int64_t rootStart = 0;     // FAT12/16: the fixed root area; FAT32: the root cluster's first sector
    uint32_t rootSectors = 0;  // FAT12/16 only
    uint32_t rootCluster = 0;  // FAT32 only
    bool rootKnown = true;
    int64_t dataStart = 0;
    int64_t totalSectors = 0;  // of the volume
};

// Decides between two folders with one first cluster by their state bits: >= 0 keeps the
// existing one, < 0 lets the new one win.
int CompareFolderClaims(const IFileProperties& existing, const IFileProperties& candidate);

// Frees every deleted folder without children, and its properties, walking from root; folders
// that become empty by it stay.
void RemoveEmptyDeletedFolders(CFileNode* root);

class CFATTreeBuilder {
  public:
    using FolderQueue = std::deque<CFileNode*>;

    // fat is not owned and must outlive the builder; callback may be null.
    CFATTreeBuilder(IDIRBuildCallback* callback, IStorageDevice* device, const FatLayout& layout,
                    const IFATTable* fat, int language);
    CFATTreeBuilder(const CFATTreeBuilder&) = delete;
    CFATTreeBuilder& operator=(const CFATTreeBuilder&) = delete;

    // The root node of the tree: a file-system node named "<index + 1> FAT16" (and so on) at the
    // data area. Null when memory runs out. The builder keeps it as its root; the caller owns it.
    CFileSystemNode* CreateRootNode(int index = 0);
    void SetRoot(CFileSystemNode* root) { root_ = root; }

    // The quick walk from the root: folders breadth-first in the order they were found. Null
    // (everything freed) when cancelled; the caller owns the result.
    CFileSystemNode* WalkFromRoot(bool includeLive);

    // Parses the root folder into the root node; false when it could not be read or was refused.
    bool ParseRootDirectory(FolderQueue& queue, bool includeLive);
    // Parses the folder at firstCluster into node, reading its chain in batches of up to 128
    // sectors; a chain that comes back to clusters read before ends there. False when the folder's
    // first cluster was read before, the folder does not start as its kind must (the root
    // without, other folders with "." and ".."), or the build was cancelled.
    bool ParseDirectoryChain(CFileNode* node, uint32_t firstCluster, FolderQueue& queue, bool isRoot,
                             bool includeLive);
    // Parses length bytes of entries into parent. Answers the bytes consumed (less than length
    // when a run of long-name pieces is still open at the end), or -1 on a third dot entry.
    int64_t ParseDirectoryEntries(const uint8_t* buffer, size_t length, CFileNode* parent, FolderQueue& queue,
                                  bool stopAtInvalid, bool includeLive);
    // The properties of the entry that ends the run of count entries; null when the run has no
    // name or the file-type filter refuses it.
    std::unique_ptr<CFATFileProperties> CreatePropertiesFromEntries(const uint8_t* entries,
                                                                    size_t count) const;
    // The extents of a file in clusters, marked in the cluster-use bits; none when a live file's
    // extents would pass the end of the volume or a deleted file yields no guess.
    std::optional<FatRunBuilder> BuildDataRunList(uint32_t firstCluster, uint64_t size, bool deleted);
    void GuessContiguousRuns(FatRunBuilder& runs, uint32_t firstCluster, uint64_t size);

    int GetAbortState() const { return abortState_; }
    const std::vector<bool>& GetClusterUseBits() const { return clusterUse_; }
    uint64_t GetClusterCount() const { return clusterCount_; }
    const FatLayout& GetLayout() const { return layout_; }

  private:
    IDIRBuildCallback& Callback() { return callback_ ? *callback_ : quiet_; }
    uint64_t ClusterBytes() const { return uint64_t{layout_.sectorsPerCluster} * kSectorSize; }
    bool PassesVolumeEnd(uint64_t runStart, uint64_t runLength) const;
    void MarkUsed(const FatRunBuilder& runs);
    bool MarkVisited(uint32_t first, uint32_t count);
    // The clusters a guess passes over, found once: a guess then costs its runs, not its clusters.
    void CollectEndMarks();
    // Handles a folder entry whose first cluster another folder claimed already. True when the
    // new node stays in the tree.
    // When it does not, held still owns it and frees it.
    bool SettleFolderClaim(TreeOwner<CFileNode>& held, CFileNode* parent, FolderQueue& queue,
                           bool stopAtInvalid);
    void HandleLabel(const class CFATDirEntry& entry, const CFileNode* parent);

    IDIRBuildCallback* callback_;
    CNullDIRBuildCallback quiet_;
    IStorageDevice* device_;
    FatLayout layout_;
    const IFATTable* fat_;
    int language_;
    int abortState_ = kAbortNone;
    uint64_t clusterCount_ = 0;
    std::unordered_map<uint32_t, CFileNode*> folders_;
    std::vector<bool> visited_;     // index = cluster - 2: clusters read as folder content
    std::vector<bool> clusterUse_;  // index = cluster - 2: clusters an extent of a listed file covers
    CFileSystemNode* root_ = nullptr;
    bool labelSeen_ = false;
    std::vector<uint8_t> buffer_;
    bool endMarksCollected_ = false;
    std::vector<uint32_t> endMarks_;      // ascending clusters whose entry is the all-ones end mark
    std::vector<uint32_t> endMarkBlock_;  // for each, the index of the last mark of its consecutive block
};

}  // namespace keldrin::fat
