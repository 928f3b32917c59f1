// The entries of one directory, block by block through its block map. Damaged records end their
// block, not the directory; on request the slack behind each record is searched for the records
// of deleted entries.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/ext2/Ext2BlockMapper.h"
#include "engine/ext2/Ext2FileSystem.h"
#include "engine/ext2/Ext2Gc.h"
#include "engine/ext2/Ext2Inode.h"
#include "engine/model/HugePageAllocator.h"

namespace keldrin::ext2 {

// On disk: inode (4), record length (2), name length (1), file type (1), name.
struct CExt2DirEntry {
    uint32_t inode = 0;
    uint8_t fileType = 0;
    std::string_view name;  // raw bytes; valid until the next call of Next
    bool deleted = false;   // found in the slack of another record
    bool firstInDirectory = false;
    bool secondInDirectory = false;
};

// The smallest record length that holds a name of this length.
inline uint32_t DirRecordLength(uint32_t nameLength) {
    return (nameLength + 11) & ~3u;
}

// Names as stored are bytes; ours are UTF-8: a name is cut at a zero byte and each byte that is
// not part of a valid UTF-8 sequence becomes U+FFFD.
std::string DecodeEntryName(std::string_view raw);
// The same, appended to out (the tree build keeps all names in one buffer of huge pages).
void AppendEntryName(std::string& out, std::string_view raw);
using NameBuffer = std::basic_string<char, std::char_traits<char>, HugePageAllocator<char>>;
void AppendEntryName(NameBuffer& out, std::string_view raw);

class CExt2DirIterator {
  public:
    CExt2DirIterator(const CExt2FileSystem& fs, const CExt2Inode& directory, bool withDeleted = false);

    // The next entry with an inode and a name; false at the end. Read errors end the block
    // concerned; a read outside the device ends the walk.
    bool Next(CExt2DirEntry& out);

  private:
    bool LoadNextBlock();
    bool NextInSlack(CExt2DirEntry& out);

    const CExt2FileSystem& fs_;
    CExt2BlockMapper mapper_;
    bool withDeleted_;
    uint32_t blockSize_;
    uint64_t blockCount_ = 0;  // logical blocks of the walk
    uint64_t nextLogical_ = 0;
    GcBytes block_;
    bool haveBlock_ = false;
    uint64_t currentLogical_ = 0;
    uint32_t offset_ = 0;
    uint32_t slackPos_ = 0;
    uint32_t slackEnd_ = 0;
    uint32_t validRecords_ = 0;  // records seen in logical block 0, for "." and ".."
};

// The parent a directory names in its ".." record (the second record of its first block); the
// root when that record is missing or damaged.
uint32_t FindParentInode(const CExt2FileSystem& fs, const CExt2Inode& directory);

}  // namespace keldrin::ext2
