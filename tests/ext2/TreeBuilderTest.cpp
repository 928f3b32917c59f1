#include <gtest/gtest.h>

#include <fstream>

#include "engine/ext2/Ext2TreeBuilder.h"
#include "engine/ext2/Ext2VolumeEntry.h"
#include "engine/model/FileTree.h"
#include "shared/TypeFilter.h"
#include "tests/ext2/Ext2TestSupport.h"
#include "tests/ext2/TreeTestSupport.h"
#include "tests/support/TestFiles.h"

namespace keldrin::ext2 {
namespace {

using test::Bytes;
using test::FindPath;
using test::Props;

void Write(const std::filesystem::path& path, const Bytes& bytes) {
    std::filesystem::create_directories(path.parent_path());
    test::WriteFile(path, bytes);
}

// A sparse file: 3 bytes at 0, a hole, 4 bytes at 40 KiB, and a hole to the end at 100 KiB.
Bytes SparseContent() {
    Bytes b(100 * 1024, 0);
    b[0] = 'a', b[1] = 'b', b[2] = 'c';
    for (int i = 0; i < 4; ++i) b[40 * 1024 + i] = static_cast<uint8_t>('w' + i);
    return b;
}

class CountingCallback final : public IDIRBuildCallback {
  public:
    int BeginPhase(const char* text, int64_t) override {
        phases.push_back(text);
        return IsCancelled();
    }
    int Step(int64_t) override { return IsCancelled(); }
    int SetPosition(int64_t) override { return IsCancelled(); }
    int Finish() override { return IsCancelled(); }
    int IsCancelled() override { return ++polls > cancelAfter ? kCancelled : kGoOn; }
    std::vector<std::string> phases;
    int polls = 0;
    int cancelAfter = 1 << 30;
};

// One volume for the whole suite: docs/a.txt deleted (its name stays in the folder's slack),
// top.txt unlinked (a live inode no entry names), a sparse file, a nested file.
class TreeBuilderTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new keldrin::testing::ScopedTempDir();
        const auto staging = dir_->path() / "staging";
        Write(staging / "docs" / "a.txt", Bytes{'h', 'e', 'l', 'l', 'o'});
        Write(staging / "docs" / "keep.txt", Bytes(3000, 'k'));
        Write(staging / "docs" / "sub" / "b.bin", Bytes(5000, 'b'));
        Write(staging / "top.txt", Bytes{'t'});
        {
            std::ofstream sparse(staging / "sparse.bin", std::ios::binary);
            const Bytes content = SparseContent();
            sparse.write("abc", 3);
            sparse.seekp(40 * 1024);
            sparse.write("wxyz", 4);
        }
        std::filesystem::resize_file(staging / "sparse.bin", 100 * 1024);
        image_ = dir_->path() / "tree.img";
        // 256-byte inodes: read with 128-byte slots, every inode after the first would be garbage.
        ok_ = test::MakeImage(image_, "-t ext2 -b 1024 -I 256 -N 64 -L 'my disk!'", staging, 2048) &&
              test::Debugfs(image_, {"rm /docs/a.txt", "unlink /top.txt"});
        if (ok_) bytes_ = new Bytes(test::ReadFile(image_));
    }
    static void TearDownTestSuite() {
        delete bytes_;
        delete dir_;
    }
    void SetUp() override {
        if (!test::Shell("command -v mke2fs && command -v debugfs"))
            GTEST_SKIP() << "e2fsprogs is not installed";
        ASSERT_TRUE(ok_) << "mke2fs or debugfs failed";
    }

    static TreeOwner<CFileSystemNode> Build(const Bytes& bytes, IDIRBuildCallback* callback = nullptr) {
        test::MemoryDevice device(bytes);
        const CExt2FileSystem fs(&device, 2);
        return TreeOwner<CFileSystemNode>(BuildExt2Tree(fs, callback, 0));
    }

    static inline keldrin::testing::ScopedTempDir* dir_ = nullptr;
    static inline std::filesystem::path image_;
    static inline Bytes* bytes_ = nullptr;
    static inline bool ok_ = false;
};

TEST_F(TreeBuilderTest, NamesAndPlacement) {
    auto root = Build(*bytes_);
    ASSERT_TRUE(root);
    EXPECT_STREQ(root->GetProperties()->GetName(), "Ext2(my_disk_)");
    EXPECT_EQ(root->GetFileSystemType(), kFsExt2);
    EXPECT_EQ(root->GetVolumeLocation(), (VolumeLocation{0, 2}));

    auto* keep = Props(FindPath(root.get(), "docs/keep.txt"));
    ASSERT_TRUE(keep);
    EXPECT_EQ(keep->GetFileSize(), 3000u);
    EXPECT_EQ(keep->GetState(), 0);
    ASSERT_TRUE(FindPath(root.get(), "docs/sub/b.bin"));
    EXPECT_TRUE(IsFolder(Props(FindPath(root.get(), "docs/sub"))));
    EXPECT_TRUE(IsFolder(Props(FindPath(root.get(), "lost+found"))));

    // Deleted on Ext2: the name survives in the slack of its folder's previous record.
    auto* deleted = Props(FindPath(root.get(), "docs/a.txt"));
    ASSERT_TRUE(deleted);
    EXPECT_EQ(deleted->GetState(), kStateDeleted);
    EXPECT_EQ(deleted->GetFileSize(), 5u);
    EXPECT_EQ(test::CopyOut(*bytes_, FindPath(root.get(), "docs/a.txt")), (Bytes{'h', 'e', 'l', 'l', 'o'}));

    // No entry names top.txt's inode any more: "Inode_" and its number, under the root, live.
    int unnamed = 0;
    for (CFileNode* c = root->GetFirstChild(); c; c = c->GetNextSibling()) {
        const std::string name = c->GetProperties()->GetName();
        if (name.rfind("Inode_", 0) != 0) continue;
        ++unnamed;
        EXPECT_EQ(name, "Inode_" + std::to_string(Props(c)->GetInodeNumber()));
        EXPECT_EQ(c->GetProperties()->GetFileSize(), 1u);
        EXPECT_EQ(c->GetProperties()->GetState(), 0);
    }
    EXPECT_EQ(unnamed, 1);
    // The reserved inodes (1 to 10) are not listed, and the root is not listed inside itself.
    for (CFileNode* c = root->GetFirstChild(); c; c = c->GetNextSibling())
        EXPECT_GE(Props(c)->GetInodeNumber(), 11u);
}

TEST_F(TreeBuilderTest, SparseFileCopiesOutWithItsHoles) {
    auto root = Build(*bytes_);
    ASSERT_TRUE(root);
    CFileNode* node = FindPath(root.get(), "sparse.bin");
    ASSERT_TRUE(node);
    EXPECT_EQ(node->GetProperties()->GetAttributes(), kAttrSparse);
    auto runs = node->GetProperties()->GetDataRunList();
    ASSERT_TRUE(runs);
    EXPECT_EQ(runs->GetRunListKind(), kRunListExt2);
    // Data, hole, data, hole to the end: the hole after the first block does not end the list.
    ASSERT_EQ(runs->GetRunCount(), 4u);
    EXPECT_EQ(runs->GetExtents()[1].start, 0u);
    EXPECT_EQ(runs->GetExtents()[3].start, 0u);
    uint64_t blocks = 0;
    for (const Extent& e : runs->GetExtents()) blocks += e.length;
    EXPECT_EQ(blocks, 100u);
    EXPECT_EQ(test::CopyOut(*bytes_, node), SparseContent());
    // A plain file: no hole, no sparse bit, byte-exact.
    CFileNode* plain = FindPath(root.get(), "docs/sub/b.bin");
    EXPECT_EQ(plain->GetProperties()->GetAttributes(), 0);
    EXPECT_EQ(test::CopyOut(*bytes_, plain), Bytes(5000, 'b'));
}

TEST_F(TreeBuilderTest, LargeFileSizeUsesTheHighHalfOnlyWithTheFeature) {
    auto root = Build(*bytes_);
    const uint32_t inode = Props(FindPath(root.get(), "docs/sub/b.bin"))->GetInodeNumber();
    test::MemoryDevice probe(*bytes_);
    const CExt2FileSystem fs(&probe, 2);
    const uint64_t group = (inode - 1) / fs.InodesPerGroup();
    const size_t at = size_t{fs.InodeTableBlock(group)} * 1024 + ((inode - 1) % fs.InodesPerGroup()) * 256;
    Bytes patched = *bytes_;
    test::Put32(patched, at + 0x6C, 1);
    auto large = Build(patched);
    EXPECT_EQ(Props(FindPath(large.get(), "docs/sub/b.bin"))->GetFileSize(), (uint64_t{1} << 32) + 5000);
    // Without the read-only-compatible large-file feature the field is not a size.
    test::Put32(patched, 1024 + 0x64, test::Get32(patched, 1024 + 0x64) & ~2u);
    auto small = Build(patched);
    EXPECT_EQ(Props(FindPath(small.get(), "docs/sub/b.bin"))->GetFileSize(), 5000u);
}

TEST_F(TreeBuilderTest, TypeFilterKeepsMatchingFilesAndAllFolders) {
    SetTypeFilter({"bin"});
    auto root = Build(*bytes_);
    SetTypeFilter({});
    ASSERT_TRUE(root);
    EXPECT_TRUE(FindPath(root.get(), "docs/sub/b.bin"));
    EXPECT_TRUE(FindPath(root.get(), "sparse.bin"));
    EXPECT_TRUE(FindPath(root.get(), "lost+found"));
    EXPECT_FALSE(FindPath(root.get(), "docs/keep.txt"));
    EXPECT_FALSE(FindPath(root.get(), "docs/a.txt"));
    for (CFileNode* c = root->GetFirstChild(); c; c = c->GetNextSibling())
        EXPECT_NE(std::string(c->GetProperties()->GetName()).rfind("Inode_", 0), 0u);
}

TEST_F(TreeBuilderTest, PhasesAndCancel) {
    CountingCallback watch;
    ASSERT_TRUE(Build(*bytes_, &watch));
    EXPECT_EQ(watch.phases, (std::vector<std::string>{"Reading files", "Building directory tree..."}));
    for (int after : {0, 2}) {
        CountingCallback cancel;
        cancel.cancelAfter = after;
        EXPECT_FALSE(Build(*bytes_, &cancel)) << after;
    }
}

TEST_F(TreeBuilderTest, WorkerBuildMatchesAndDamageGivesAPartialTree) {
    test::MemoryDevice device(*bytes_);
    TreeOwner<CFileSystemNode> root(BuildExt2VolumeTree(&device, 0, nullptr));
    ASSERT_TRUE(root);
    EXPECT_TRUE(FindPath(root.get(), "docs/sub/b.bin"));

    // A directory that names itself as its own child and its child as its parent: no loop.
    auto plain = Build(*bytes_);
    const uint32_t docs = Props(FindPath(plain.get(), "docs"))->GetInodeNumber();
    const uint32_t sub = Props(FindPath(plain.get(), "docs/sub"))->GetInodeNumber();
    Bytes looped = *bytes_;
    // docs's ".." → sub, so docs and sub each claim the other as parent.
    test::MemoryDevice probe(looped);
    const CExt2FileSystem fs(&probe, 2);
    CExt2Inode docsInode;
    ASSERT_TRUE(fs.ReadInode(docs, docsInode));
    test::Put32(looped, size_t{docsInode.Block(0)} * 1024 + 12, sub);
    auto loop = Build(looped);
    ASSERT_TRUE(loop);
    // The root names docs and docs names sub: the entries win over the looping "..".
    EXPECT_TRUE(FindPath(loop.get(), "docs/sub/b.bin"));

    // The inode table of the only group outside the device: the pass ends, the root stays.
    Bytes cut(bytes_->begin(),
              bytes_->begin() + static_cast<ptrdiff_t>(size_t{fs.InodeTableBlock(0)} * 1024));
    test::MemoryDevice short_(cut);
    TreeOwner<CFileSystemNode> partial(BuildExt2VolumeTree(&short_, 0, nullptr));
    ASSERT_TRUE(partial);
    EXPECT_EQ(partial->GetFirstChild(), nullptr);
}

TEST(Ext2RootName, LabelCharactersBecomeUnderscores) {
    EXPECT_EQ(Ext2RootName(kFsExt2, "my disk!"), "Ext2(my_disk_)");
    EXPECT_EQ(Ext2RootName(kFsExt3, ""), "Ext3");
    EXPECT_EQ(Ext2RootName(kFsUnknown, "a-b"), "Ext?(a_b)");
}

}  // namespace
}  // namespace keldrin::ext2
