#include <gtest/gtest.h>

#include <stdexcept>

#include "engine/ext2/Ext2Errors.h"
#include "engine/ext2/Ext2FileSystem.h"
#include "engine/ext2/Ext2VolumeEntry.h"
#include "tests/ext2/Ext2TestSupport.h"
#include "tests/support/TestFiles.h"

namespace keldrin::ext2 {
namespace {

using test::Bytes;

// 4 MiB, 1 KiB blocks, groups of 1024 blocks: copies of the descriptors in groups 1 and 3.
class FileSystemTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!test::Shell("command -v mke2fs")) GTEST_SKIP() << "e2fsprogs is not installed";
        image_ = dir_.path() / "fs.img";
        ASSERT_TRUE(test::MakeImage(image_, "-t ext2 -b 1024 -g 1024 -N 128 -L vol", {}, 4096));
        bytes_ = test::ReadFile(image_);
    }
    keldrin::testing::ScopedTempDir dir_;
    std::filesystem::path image_;
    Bytes bytes_;
};

TEST_F(FileSystemTest, ReadsGeometryAndVolume) {
    test::MemoryDevice device(bytes_);
    CExt2FileSystem fs(&device, 2);
    EXPECT_EQ(fs.BlockSize(), 1024u);
    EXPECT_EQ(fs.GroupCount(), 4u);
    EXPECT_EQ(fs.PartitionStart(), 0);
    EXPECT_EQ(fs.Type(), kFsExt2);
    auto volume = AnalyzeExt2Volume(&device, 0);
    EXPECT_EQ(volume->GetFileSystemType(), kFsExt2);
    EXPECT_EQ(volume->GetTotalSectors(), 8192);
    char label[100];
    volume->GetVolumeLabel(label, sizeof label);
    EXPECT_STREQ(label, "vol");
    // Blocks are read relative to the partition; a read starting past the device is a range error.
    EXPECT_THROW(fs.ReadBlocks(label, 5000, 1), std::out_of_range);
}

TEST_F(FileSystemTest, DamagedPrimaryDescriptorsFallBackToACopy) {
    // Group 0's inode table moved outside group 0 in the primary table only.
    test::Put32(bytes_, 2 * 1024 + 8, 5000);
    test::MemoryDevice device(bytes_);
    CExt2FileSystem fs(&device, 2);
    EXPECT_LT(fs.InodeTableBlock(0), 1025u);
    CExt2Inode root;
    ASSERT_TRUE(fs.ReadInode(kRootInode, root));
    EXPECT_TRUE(root.IsDirectory());
}

TEST_F(FileSystemTest, RefusesWhatItCannotRead) {
    struct Case {
        const char* what;
        size_t offset;
        size_t length;
    };
    const Case cases[] = {
        {"zeroed superblock", 1024, 1024},
        {"every descriptor table copy", 0, 0},
    };
    for (const Case& c : cases) {
        Bytes broken = bytes_;
        if (c.length) {
            std::fill_n(broken.begin() + static_cast<ptrdiff_t>(c.offset), c.length, 0);
        } else {
            for (uint32_t g : {0u, 1u, 3u}) test::Put32(broken, (g * 1024 + 2) * 1024 + 8, 5000);
        }
        test::MemoryDevice device(broken);
        EXPECT_ANY_THROW(CExt2FileSystem(&device, 2)) << c.what;
        EXPECT_EQ(AnalyzeExt2Volume(&device, 0)->GetFileSystemType(), kFsUnknown) << c.what;
        EXPECT_EQ(BuildExt2VolumeTree(&device, 0, nullptr), nullptr) << c.what;
    }
    test::MemoryDevice tiny(Bytes(bytes_.begin(), bytes_.begin() + 2048));
    EXPECT_EQ(AnalyzeExt2Volume(&tiny, 0)->GetFileSystemType(), kFsUnknown);
    EXPECT_EQ(AnalyzeExt2Volume(nullptr, 0)->GetFileSystemType(), kFsUnknown);
}

TEST_F(FileSystemTest, FailedReadsAreErrorsNotData) {
    test::MemoryDevice device(bytes_);
    CExt2FileSystem fs(&device, 2);
    device.failFrom = 100;
    Bytes buffer(1024, 0xAA);
    EXPECT_THROW(fs.ReadBlocks(buffer.data(), 60, 1), CExt2ReadSectorError);
    EXPECT_EQ(buffer, Bytes(1024, 0));
}

}  // namespace
}  // namespace keldrin::ext2
