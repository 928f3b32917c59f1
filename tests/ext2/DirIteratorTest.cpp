#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/ext2/Ext2DirIterator.h"
#include "tests/ext2/Ext2TestSupport.h"

namespace keldrin::ext2 {
namespace {

using test::Bytes;
using test::Put16;
using test::Put32;

constexpr uint32_t kBlock = 1024;

class DirVolume {
  public:
    DirVolume() : device_(Bytes(size_t{8192} * kBlock, 0)) {
        Bytes descriptors(1024, 0);
        Put32(descriptors, 0, 3);
        Put32(descriptors, 4, 4);
        Put32(descriptors, 8, 5);
        fs_ = std::make_unique<CExt2FileSystem>(&device_, 0, CExt2SuperBlock(test::MakeSuperBlock()),
                                                descriptors);
    }
    // Writes a record at byte offset of block; returns the offset after it.
    uint32_t Record(uint32_t block, uint32_t offset, uint32_t inode, uint16_t length, std::string_view name) {
        Bytes& b = device_.bytes();
        const size_t at = size_t{block} * kBlock + offset;
        Put32(b, at, inode);
        Put16(b, at + 4, length);
        b[at + 6] = static_cast<uint8_t>(name.size());
        b[at + 7] = 1;
        std::memcpy(b.data() + at + 8, name.data(), name.size());
        return offset + length;
    }
    const CExt2FileSystem& fs() const { return *fs_; }
    test::MemoryDevice& device() { return device_; }

  private:
    test::MemoryDevice device_;
    std::unique_ptr<CExt2FileSystem> fs_;
};

CExt2Inode Directory(uint32_t size, std::initializer_list<uint32_t> blocks) {
    CExt2Inode inode;
    inode.number = 20;
    Bytes bytes(128, 0);
    Put16(bytes, 0, 0x41ED);
    Put32(bytes, 4, size);
    int i = 0;
    for (uint32_t b : blocks) Put32(bytes, 0x28 + 4 * i++, b);
    std::copy(bytes.begin(), bytes.end(), inode.bytes.begin());
    return inode;
}

std::vector<std::string> Walk(const CExt2FileSystem& fs, const CExt2Inode& dir, bool withDeleted) {
    std::vector<std::string> names;
    CExt2DirIterator walk(fs, dir, withDeleted);
    CExt2DirEntry e;
    while (walk.Next(e))
        names.push_back((e.deleted ? "*" : "") + std::string(e.name) + ":" + std::to_string(e.inode));
    return names;
}

TEST(Ext2DirIterator, DamagedRecordEndsItsBlockOnly) {
    DirVolume v;
    uint32_t at = v.Record(300, 0, 20, 12, ".");
    at = v.Record(300, at, 2, 12, "..");
    // a.txt's record also covers the deleted record of old.txt behind it.
    const uint32_t a = at;
    at = v.Record(300, at, 12, 32, "a.txt");
    v.Record(300, a + 16, 13, 16, "old.txt");
    at = v.Record(300, at, 15, 6, "bad");  // length not a multiple of 4
    v.Record(300, at + 8, 16, 20, "hidden");
    v.Record(301, 0, 14, 1024, "b.txt");
    const CExt2Inode dir = Directory(2048, {300, 301});
    EXPECT_EQ(Walk(v.fs(), dir, false), (std::vector<std::string>{".:20", "..:2", "a.txt:12", "b.txt:14"}));
    EXPECT_EQ(Walk(v.fs(), dir, true),
              (std::vector<std::string>{".:20", "..:2", "a.txt:12", "*old.txt:13", "b.txt:14"}));
    EXPECT_EQ(FindParentInode(v.fs(), dir), 2u);
}

TEST(Ext2DirIterator, RecordsThatEndTheWalkOrAreSkipped) {
    DirVolume v;
    uint32_t at = v.Record(300, 0, 20, 12, ".");
    at = v.Record(300, at, 7, 12, "..");
    at = v.Record(300, at, 0, 12, "gone");     // unused record
    at = v.Record(300, at, 99999, 12, "far");  // inode past the volume's
    v.Record(300, at, 12, 2000, "long");       // longer than the block
    // A hole in the directory is passed over.
    v.Record(302, 0, 13, 1024, "after");
    v.Record(303, 0, 14, 1024, "mid");
    v.Record(304, 0, 15, 1024, "last");
    const CExt2Inode dir = Directory(5 * 1024, {300, 0, 302, 303, 304});
    EXPECT_EQ(Walk(v.fs(), dir, false),
              (std::vector<std::string>{".:20", "..:7", "after:13", "mid:14", "last:15"}));
    EXPECT_EQ(FindParentInode(v.fs(), dir), 7u);

    // Size 0 falls back to the allocated sectors; an empty directory yields nothing.
    EXPECT_TRUE(Walk(v.fs(), Directory(0, {}), false).empty());
}

TEST(Ext2DirIterator, DamagedDotDotFilesUnderTheRoot) {
    DirVolume v;
    const uint32_t at = v.Record(300, 0, 20, 12, ".");
    v.Record(300, at, 7, 10, "..");  // damaged
    EXPECT_EQ(FindParentInode(v.fs(), Directory(1024, {300})), kRootInode);
}

TEST(Ext2DirIterator, NamesBecomeUtf8) {
    EXPECT_EQ(DecodeEntryName("plain.txt"), "plain.txt");
    EXPECT_EQ(DecodeEntryName("gr\xC3\xBC\xC3\x9F"), "gr\xC3\xBC\xC3\x9F");
    EXPECT_EQ(DecodeEntryName("bad\xFFname"), "bad\xEF\xBF\xBDname");
    EXPECT_EQ(DecodeEntryName(std::string_view("cut\0rest", 8)), "cut");
    EXPECT_EQ(DecodeEntryName("\xED\xA0\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");  // a surrogate
}

}  // namespace
}  // namespace keldrin::ext2
