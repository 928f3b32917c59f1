#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/ext2/Ext2InodePass.h"
#include "engine/model/FileTree.h"
#include "engine/model/SmallBlockPool.h"
#include "tests/ext2/Ext2TestSupport.h"
#include "tests/support/TestFiles.h"

namespace keldrin::ext2 {
namespace {

using test::Bytes;

class PollCounter final : public IDIRBuildCallback {
  public:
    explicit PollCounter(int cancelAfter = 1 << 30) : cancelAfter_(cancelAfter) {}
    int BeginPhase(const char*, int64_t) override { return kGoOn; }
    int Step(int64_t count) override {
        steps += count;
        return kGoOn;
    }
    int SetPosition(int64_t) override { return kGoOn; }
    int Finish() override {
        finished = true;
        return kGoOn;
    }
    int IsCancelled() override { return ++polls_ > cancelAfter_ ? kCancelled : kGoOn; }
    int64_t steps = 0;
    bool finished = false;

  private:
    int cancelAfter_;
    int polls_ = 0;
};

struct Pass {
    bool finished = false;
    std::string error;
    std::vector<std::string> lines;  // the tables, one line per entry, in table order
};

Pass ReadPass(const Bytes& image, int threads, int cancelAfter = 1 << 30, int64_t failFrom = -1) {
    test::MemoryDevice device(image);
    device.failFrom = failFrom;
    const CExt2FileSystem fs(&device, 2);
    InodeTables tables;
    PollCounter callback(cancelAfter);
    Pass pass;
    try {
        pass.finished = ReadAllInodes(fs, tables, nullptr, callback, threads);
    } catch (const std::exception& e) {
        pass.error = e.what();
    }
    for (const auto& [inode, node] : tables.files) {
        pass.lines.push_back("file " + std::to_string(inode) + " " + node->GetProperties()->GetName() + " " +
                             std::to_string(node->GetProperties()->GetFileSize()));
        DeleteTree(node);
    }
    for (const FolderRecord& f : tables.folders) {
        pass.lines.push_back("folder " + std::to_string(f.inode) + " " + std::to_string(f.dotDot));
        DeleteTree(f.node);
    }
    for (const NameRecord& r : tables.names)
        pass.lines.push_back("name " + std::to_string(r.folder) + " " + std::to_string(r.inode) + " " +
                             std::string(tables.nameText.data() + r.NameOffset(), r.nameLength) +
                             (r.fromSlack ? " slack" : ""));
    if (pass.finished && !callback.finished) pass.error = "no Finish";
    return pass;
}

// Five groups of 8,000 inodes, folders spread over them by the allocator, some files deleted.
class InodePassTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (!test::Shell("command -v mke2fs && command -v debugfs")) return;
        dir_ = new keldrin::testing::ScopedTempDir();
        const auto staging = dir_->path() / "staging";
        for (int d = 0; d < 12; ++d) {
            const auto folder = staging / ("dir" + std::to_string(d));
            std::filesystem::create_directories(folder);
            for (int f = 0; f < 40; ++f)
                test::WriteFile(folder / ("f" + std::to_string(f) + ".txt"), Bytes(1 + 300 * f, 'x'));
        }
        const auto image = dir_->path() / "groups.img";
        std::vector<std::string> removals;
        for (int d = 0; d < 12; d += 3) removals.push_back("rm /dir" + std::to_string(d) + "/f7.txt");
        ok_ = test::MakeImage(image, "-t ext2 -b 1024 -g 8192 -N 40000 -I 128", staging, 32768) &&
              test::Debugfs(image, removals);
        if (ok_) bytes_ = new Bytes(test::ReadFile(image));
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

    static inline keldrin::testing::ScopedTempDir* dir_ = nullptr;
    static inline Bytes* bytes_ = nullptr;
    static inline bool ok_ = false;
};

TEST_F(InodePassTest, TwoThreadsFillTheTablesOneWould) {
    test::MemoryDevice probe(*bytes_);
    const CExt2FileSystem fs(&probe, 2);
    ASSERT_GE(fs.GroupCount(), 4u);
    // Cut inside the third group's inode table: the pass ends there, and what the helper read
    // of the fourth group must not appear.
    const size_t cut = size_t{fs.InodeTableBlock(2)} * 1024;
    const struct Case {
        const char* name;
        Bytes image;
        int64_t failFrom;
    } cases[] = {
        {"intact", *bytes_, -1},
        {"cut in the third group", Bytes(bytes_->begin(), bytes_->begin() + static_cast<ptrdiff_t>(cut)), -1},
        {"unreadable from the third group's table", *bytes_, static_cast<int64_t>(cut / 512 + 4)},
    };
    for (const Case& c : cases) {
        const Pass one = ReadPass(c.image, 1, 1 << 30, c.failFrom);
        const Pass two = ReadPass(c.image, 2, 1 << 30, c.failFrom);
        EXPECT_TRUE(one.finished) << c.name;
        EXPECT_EQ(one.error, "") << c.name;
        EXPECT_EQ(two.finished, one.finished) << c.name;
        EXPECT_EQ(two.error, one.error) << c.name;
        EXPECT_GT(one.lines.size(), 12u) << c.name;
        EXPECT_EQ(two.lines, one.lines) << c.name;
    }
    const Pass intact = ReadPass(*bytes_, 2);
    EXPECT_EQ(std::count_if(intact.lines.begin(), intact.lines.end(),
                            [](const std::string& l) { return l.rfind("file ", 0) == 0; }),
              12 * 40)
        << "every file, the deleted ones too";
}

TEST_F(InodePassTest, CancellingTwoThreadsLeavesNothingBehind) {
    const size_t liveBefore = TreePool().LiveBlocks();
    for (int after : {0, 1}) {  // polls the calling thread makes whatever the helper does
        const Pass pass = ReadPass(*bytes_, 2, after);
        EXPECT_FALSE(pass.finished) << after;
        EXPECT_EQ(pass.error, "") << after;
    }
    EXPECT_EQ(TreePool().LiveBlocks(), liveBefore);
}

}  // namespace
}  // namespace keldrin::ext2
