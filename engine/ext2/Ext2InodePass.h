// The pass over a volume's inodes: a node with properties for every usable inode, the names
// each folder gives, and each folder's "..". A volume of many groups is read by two threads at
// once; the tables come out as one thread in inode order would have filled them.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "engine/ext2/Ext2DataRunList.h"
#include "engine/ext2/Ext2DirIterator.h"
#include "engine/ext2/Ext2FileSystem.h"
#include "engine/ext2/Ext2Inode.h"
#include "engine/model/FileNode.h"
#include "engine/model/HugePageAllocator.h"
#include "engine/model/ProgressCallbacks.h"
#include "engine/model/StoredRunList.h"

namespace keldrin::ext2 {

// One directory entry that names an inode. The name itself lies in the tables' name buffer: one
// string per entry cost an allocation each and made sorting the records move them all. 16 bytes:
// there is one per entry of the volume.
struct NameRecord {
    // The buffer offset has 40 bits; a name has at most 255 bytes, 765 once decoded.
    static constexpr uint64_t kMaxNameOffset = (uint64_t{1} << 40) - 1;

    NameRecord(uint32_t folder, uint32_t inode, uint64_t offset, uint16_t length, bool fromSlack)
        : folder(folder),
          inode(inode),
          offsetLow(static_cast<uint32_t>(offset)),
          nameLength(length),
          offsetHigh(static_cast<uint8_t>(offset >> 32)),
          fromSlack(fromSlack) {}
    size_t NameOffset() const { return size_t{offsetHigh} << 32 | offsetLow; }
    void SetNameOffset(uint64_t offset) {
        offsetLow = static_cast<uint32_t>(offset);
        offsetHigh = static_cast<uint8_t>(offset >> 32);
    }

    uint32_t folder;  // the inode of the folder holding the entry (kRootInode for the root)
    uint32_t inode;
    uint32_t offsetLow;
    uint16_t nameLength;
    uint8_t offsetHigh;
    bool fromSlack;  // a deleted entry found behind another record
};
static_assert(sizeof(NameRecord) == 16);

struct FolderRecord {
    uint32_t inode;
    CFileNode* node;
    uint32_t dotDot;  // the parent its ".." names (the root when damaged)
    uint32_t parent = kRootInode;
    int64_t name = -1;      // index of the naming record in its parent, -1 for none
    int64_t rootName = -1;  // index of a record of the root naming it
};

// Flat vectors in inode order (the pass reads inodes in that order), searched by halving, not
// maps of one allocation per entry: trees hold every inode of a volume. The nodes are the
// holder's to free; none is freed here.
struct InodeTables {
    std::vector<std::pair<uint32_t, CFileNode*>, HugePageAllocator<std::pair<uint32_t, CFileNode*>>>
        files;                          // by inode; null once placed
    std::vector<FolderRecord> folders;  // by inode
    std::vector<NameRecord, HugePageAllocator<NameRecord>> names;
    NameBuffer nameText;  // the names of names, one after the other

    // Sizes the tables for a volume of this many inodes (address space only; pages are touched
    // when filled). A refused reservation is no failure.
    void Reserve(uint64_t inodes);
};

// The inode test: something is there, and its first pointers lie inside the volume.
bool InodeUsable(const CExt2FileSystem& fs, const CExt2Inode& inode);

// Fills tables from inodes one at a time.
class InodeReader {
  public:
    // fs, tables and blockBits (marks the blocks files use; may be null) must outlive the reader.
    InodeReader(const CExt2FileSystem& fs, InodeTables& tables, std::vector<bool>* blockBits)
        : fs_(fs), tables_(tables), blockBits_(blockBits) {}

    // Records the names the folder gives; answers the parent its ".." names.
    uint32_t FillNames(const CExt2Inode& directory, uint32_t folder);
    // Adds a node for a usable inode, with its names for a folder and its extents for a file.
    void AddInode(const CExt2Inode& inode);

  private:
    StoredRunList BuildExtents(const CExt2Inode& inode, bool& sparse);

    const CExt2FileSystem& fs_;
    InodeTables& tables_;
    std::vector<bool>* blockBits_;
    Ext2RunBuilder runs_;
};

// Reads every inode from the volume's first ordinary one into tables: the reading phase's steps
// are groups. Returns false when cancelled. A read outside the device ends the pass where it
// stands, as any other exception does (that one is thrown on, after the tables hold everything
// read before it); inodes that cannot be read are left out.
bool ReadAllInodes(const CExt2FileSystem& fs, InodeTables& tables, std::vector<bool>* blockBits,
                   IDIRBuildCallback& callback, int threads = 0);

}  // namespace keldrin::ext2
