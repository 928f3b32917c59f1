#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "engine/ext2/Ext2Errors.h"
#include "engine/ext2/Ext2SuperBlock.h"
#include "tests/ext2/Ext2TestSupport.h"

namespace keldrin::ext2 {
namespace {

using test::Bytes;
using test::Put16;
using test::Put32;

struct SuperBlockCase {
    const char* what;
    std::function<void(Bytes&)> change;
    bool valid;
};

TEST(Ext2SuperBlock, TestAfterNormalising) {
    const SuperBlockCase cases[] = {
        {"consistent", [](Bytes&) {}, true},
        {"bad magic", [](Bytes& b) { Put16(b, 0x38, 0xEF54); }, false},
        {"no blocks", [](Bytes& b) { Put32(b, 0x04, 0); }, false},
        {"no inodes per group", [](Bytes& b) { Put32(b, 0x28, 0); }, false},
        {"no blocks per group", [](Bytes& b) { Put32(b, 0x20, 0); }, false},
        {"block size 128 KiB", [](Bytes& b) { Put32(b, 0x18, 7); }, false},
        {"block size 64 KiB",
         [](Bytes& b) {
             Put32(b, 0x18, 6);
             Put32(b, 0x04, 70000);
             Put32(b, 0x20, 65536);
         },
         true},
        {"group number past the groups", [](Bytes& b) { Put16(b, 0x5A, 5); }, false},
        {"group larger than a bitmap covers", [](Bytes& b) { Put32(b, 0x20, 8193); }, false},
        {"as many inodes as blocks",
         [](Bytes& b) {
             Put32(b, 0x00, 8192);
             Put32(b, 0x28, 8192);
         },
         true},
        {"first inode past the inodes", [](Bytes& b) { Put32(b, 0x54, 300); }, false},
        {"revision 1 with 256-byte inodes", [](Bytes& b) { Put16(b, 0x58, 256); }, true},
        {"revision 1 with 100-byte inodes", [](Bytes& b) { Put16(b, 0x58, 100); }, false},
        {"revision 1 with inodes larger than a block", [](Bytes& b) { Put16(b, 0x58, 2048); }, false},
        {"revision 0 ignores the inode size field",
         [](Bytes& b) {
             Put32(b, 0x4C, 0);
             Put16(b, 0x58, 100);
         },
         true},
    };
    for (const SuperBlockCase& c : cases) {
        Bytes bytes = test::MakeSuperBlock();
        c.change(bytes);
        CExt2SuperBlock sb(bytes);
        sb.Normalise();
        EXPECT_EQ(sb.IsValid(), c.valid) << c.what;
    }
}

TEST(Ext2SuperBlock, InodeSizeFollowsTheRevision) {
    Bytes bytes = test::MakeSuperBlock();
    Put16(bytes, 0x58, 256);
    CExt2SuperBlock dynamic(bytes);
    dynamic.Normalise();
    EXPECT_EQ(dynamic.InodeSize(), 256u);
    Put32(bytes, 0x4C, 0);
    CExt2SuperBlock old(bytes);
    old.Normalise();
    EXPECT_EQ(old.InodeSize(), 128u);
}

TEST(Ext2SuperBlock, NormaliseMendsFirstDataBlockAndInodesCount) {
    Bytes bytes = test::MakeSuperBlock();
    Put32(bytes, 0x14, 0);     // wrong for 1 KiB blocks
    Put32(bytes, 0x00, 9999);  // more than one group holds
    CExt2SuperBlock sb(bytes);
    sb.Normalise();
    EXPECT_EQ(sb.FirstDataBlock(), 1u);
    EXPECT_EQ(sb.InodesCount(), 256u);
    EXPECT_TRUE(sb.IsValid());
}

TEST(Ext2SuperBlock, DerivedValuesAndName) {
    Bytes bytes = test::MakeSuperBlock();
    Put32(bytes, 0x18, 2);
    Put32(bytes, 0x04, 20000);
    std::memcpy(bytes.data() + 0x78, "my disk!", 8);
    CExt2SuperBlock sb(bytes);
    sb.Normalise();
    EXPECT_EQ(sb.BlockSize(), 4096u);
    EXPECT_EQ(sb.SectorsPerBlock(), 8u);
    EXPECT_EQ(sb.FirstDataBlock(), 0u);
    EXPECT_EQ(sb.GroupCount(), 3u);  // 20000 blocks in groups of 8192
    EXPECT_EQ(sb.VolumeName(), "my disk!");
}

TEST(Ext2Errors, StructuredExceptionNames) {
    EXPECT_STREQ(CStructuredException(0xC0000005).what(), "EXCEPTION_ACCESS_VIOLATION");
    EXPECT_STREQ(CStructuredException(0xC00000FD).what(), "EXCEPTION_STACK_OVERFLOW");
    EXPECT_STREQ(CStructuredException(0x80000001).what(), "EXCEPTION_GUARD_PAGE");
    EXPECT_STREQ(CStructuredException(0x12345678).what(), "EXCEPTION_UNKNOWN");
    EXPECT_STREQ(XCharError(42).what(), "XCharError:42");
}

}  // namespace
}  // namespace keldrin::ext2
