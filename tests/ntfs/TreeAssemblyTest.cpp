#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "engine/model/FileProperties.h"
#include "engine/model/FileTree.h"
#include "engine/model/SmallBlockPool.h"
#include "engine/model/TreeWalk.h"
#include "engine/ntfs/TreeAssembly.h"

namespace keldrin::ntfs {
namespace {

std::unique_ptr<CNTFSFileProperties> Properties(const std::string& name, bool folder) {
    NTFSPropertiesRecord r;
    r.name = name;
    r.attributes = folder ? kAttrFolder : 0;
    return CNTFSFileProperties::InitFromRecord(r);
}

// Records named after their numbers ("f<number>"), with the given parents.
struct Records {
    BuildRecordList list;
    void Add(int64_t number, int64_t parent, bool folder = true) {
        CNTFSBuildRecord r;
        r.folder = folder ? 2 : 0;
        r.parent = parent;
        r.properties = Properties("f" + std::to_string(number), folder);
        r.recordNumber = number;
        list.Append(std::move(r));
    }
};

// Every node by name with the name of its parent ("" at the top), counting duplicates.
std::multimap<std::string, std::string> Shape(CFileNode* top) {
    std::multimap<std::string, std::string> shape;
    ForEachNode(top, [&](CFileNode* n) {
        if (n == top) return;
        const CFileNode* parent = n->GetParent();
        shape.emplace(n->GetProperties()->GetName(),
                      parent == top ? std::string() : std::string(parent->GetProperties()->GetName()));
    });
    return shape;
}

class CountingCallback : public IDIRBuildCallback {
  public:
    int64_t cancelAt = -1;
    int64_t steps = 0;
    int BeginPhase(const char*, int64_t) override { return IsCancelled(); }
    int SetPosition(int64_t) override { return IsCancelled(); }
    int Finish() override { return IsCancelled(); }
    int Step(int64_t count) override {
        steps += count;
        return IsCancelled();
    }
    int IsCancelled() override { return cancelAt >= 0 && steps >= cancelAt ? kCancelled : kGoOn; }
};

TEST(AssembleTree, PlacesRecordsUnderTheirParentsFromTheRootFolder) {
    Records r;
    r.Add(30, 5);
    r.Add(31, 30);
    r.Add(32, 31, false);
    r.Add(33, 5, false);
    r.Add(40, 99);  // parent never found
    r.Add(41, 40, false);
    TreeOwner<> root(CreateFileNode());
    CountingCallback callback;
    ASSERT_TRUE(AssembleTree(r.list, root.get(), &callback));
    const std::multimap<std::string, std::string> expected = {
        {"f30", ""}, {"f31", "f30"}, {"f32", "f31"}, {"f33", ""}};
    EXPECT_EQ(Shape(root.get()), expected);
    EXPECT_EQ(callback.steps, 4);
    EXPECT_TRUE(r.list[4].properties && r.list[5].properties) << "the unreached keep their properties";
    CFileNode* f31 = root->GetFirstChild()->GetNextSibling()->GetFirstChild();
    EXPECT_EQ(f31->GetBuilderRecord(), &r.list[1]);
    ClearBuilderRecords(root.get());
    EXPECT_EQ(f31->GetBuilderRecord(), nullptr);

    // Siblings keep the list's order, which AddChild reverses.
    EXPECT_STREQ(root->GetFirstChild()->GetProperties()->GetName(), "f33");
}

TEST(AssembleTree, CopiesOfAFolderNumberShareNothingTwice) {
    Records r;
    r.Add(30, 5);
    r.Add(30, 5);  // the same folder found twice
    r.Add(31, 30, false);
    TreeOwner<> root(CreateFileNode());
    ASSERT_TRUE(AssembleTree(r.list, root.get(), nullptr));
    EXPECT_EQ(Shape(root.get()).count("f31"), 1u);
}

TEST(AssembleTree, DeepChainsNeedNoStack) {
    constexpr int64_t kDepth = 200000;
    Records r;
    for (int64_t n = 30; n < 30 + kDepth; ++n) r.Add(n, n == 30 ? 5 : n - 1);
    TreeOwner<> root(CreateFileNode());
    ASSERT_TRUE(AssembleTree(r.list, root.get(), nullptr));
    int64_t depth = 0;
    for (CFileNode* n = root->GetFirstChild(); n; n = n->GetFirstChild()) ++depth;
    EXPECT_EQ(depth, kDepth);
}

TEST(AssembleTree, CancelStopsAndKeepsWhatWasPlaced) {
    Records r;
    for (int64_t n = 30; n < 40; ++n) r.Add(n, 5, false);
    TreeOwner<> root(CreateFileNode());
    CountingCallback callback;
    callback.cancelAt = 3;
    EXPECT_FALSE(AssembleTree(r.list, root.get(), &callback));
    EXPECT_EQ(Shape(root.get()).size(), 3u);
}

// The whole tree in sibling order, one "name<parent" line per node, depth first.
std::string Listing(CFileNode* top) {
    std::string text;
    ForEachNode(top, [&](CFileNode* n) {
        if (n == top) return;
        const CFileNode* parent = n->GetParent();
        text += std::string(n->GetProperties()->GetName()) + "<" +
                (parent == top ? "" : parent->GetProperties()->GetName()) + "\n";
    });
    return text;
}

TEST(SortByParent, OrdersByParentKeepingTheListOrderAndTheTreeComesOutTheSame) {
    // Copies of a folder number, files of one parent far apart, a lost branch and a record whose
    // parent comes later: every case where the order of the list decides the tree.
    const std::vector<std::pair<int64_t, int64_t>> records = {{30, 5}, {41, 30}, {31, 5},  {42, 31}, {43, 30},
                                                              {30, 5}, {44, 30}, {50, 60}, {51, 50}, {60, 99},
                                                              {45, 5}, {46, 31}, {32, 30}, {47, 32}};
    const auto build = [&](bool sorted) {
        Records r;
        for (const auto& [number, parent] : records) r.Add(number, parent, number < 40 || number >= 50);
        if (sorted) {
            SortByParent(r.list);
            for (size_t i = 1; i < r.list.Size(); ++i) EXPECT_LE(r.list[i - 1].parent, r.list[i].parent) << i;
        }
        TreeOwner<> root(CreateFileNode());
        EXPECT_TRUE(AssembleTree(r.list, root.get(), nullptr));
        TreeOwner<> lost(CreateFileNode());
        int lostFolders = 0;
        EXPECT_TRUE(AttachLostFiles(r.list, lost.get(), lostFolders, nullptr));
        ClearBuilderRecords(root.get());
        ClearBuilderRecords(lost.get());
        return Listing(root.get()) + "--\n" + Listing(lost.get());
    };
    EXPECT_EQ(build(true), build(false));

    // Records of one parent stay in the order they were found.
    Records r;
    r.Add(44, 30, false);
    r.Add(41, 5, false);
    r.Add(43, 30, false);
    r.Add(42, 30, false);
    SortByParent(r.list);
    std::vector<int64_t> numbers;
    for (size_t i = 0; i < r.list.Size(); ++i) numbers.push_back(r.list[i].recordNumber);
    EXPECT_EQ(numbers, (std::vector<int64_t>{41, 44, 43, 42}));
}

// Chunks share larger blocks of memory: releasing some, in any order, must leave every other
// record as it was, and what stays is freed with the list (the sanitiser build sees leaks).
TEST(BuildRecordList, ReleasedChunksLeaveTheOthersIntact) {
    constexpr size_t kChunks = 23;
    BuildRecordList list;
    for (size_t i = 0; i < kChunks * BuildRecordList::kChunkSize; ++i) {
        CNTFSBuildRecord r;
        r.parent = static_cast<int64_t>(i);
        r.recordNumber = static_cast<int64_t>(i) * 3;
        if (i % 997 == 0) r.properties = Properties("p" + std::to_string(i), false);
        list.Append(std::move(r));
    }
    const std::vector<size_t> released = {1, 0, 5, 2, 3, 4, 9, 8, 7, 6, 12, 22, 15};
    for (size_t chunk : released) list.Release(chunk);
    for (size_t chunk = 0; chunk < kChunks; ++chunk) {
        const bool gone = std::find(released.begin(), released.end(), chunk) != released.end();
        const size_t first = chunk * BuildRecordList::kChunkSize;
        ASSERT_EQ(list.Released(first), gone) << chunk;
        if (gone) continue;
        for (size_t i = first; i < first + BuildRecordList::kChunkSize; ++i) {
            ASSERT_EQ(list[i].parent, static_cast<int64_t>(i)) << i;
            ASSERT_EQ(list[i].recordNumber, static_cast<int64_t>(i) * 3) << i;
            ASSERT_EQ(list[i].properties != nullptr, i % 997 == 0) << i;
        }
    }
}

TEST(AssembleTree, ASortedListGivesBackThePlacedChunksAndKeepsTheLost) {
    // Three chunks: a folder and its files, a folder below it with more files, then lost files.
    constexpr int64_t kFiles = 10000;
    Records r;
    r.Add(30, 5);
    for (int64_t n = 0; n < kFiles; ++n) r.Add(100 + n, 30, false);
    r.Add(40, 30);
    for (int64_t n = 0; n < kFiles; ++n) r.Add(100 + kFiles + n, 40, false);
    for (int64_t n = 0; n < 3; ++n) r.Add(90000 + n, 99, false);
    SortByParent(r.list);
    TreeOwner<> root(CreateFileNode());
    ASSERT_TRUE(AssembleTree(r.list, root.get(), nullptr));
    EXPECT_TRUE(r.list.Released(0));
    EXPECT_TRUE(r.list.Released(BuildRecordList::kChunkSize));
    EXPECT_FALSE(r.list.Released(r.list.Size() - 1)) << "the chunk of the lost files stays";
    int lostFolders = 0;
    ASSERT_TRUE(AttachLostFiles(r.list, root.get(), lostFolders, nullptr));
    ClearBuilderRecords(root.get());
    const std::multimap<std::string, std::string> shape = Shape(root.get());
    EXPECT_EQ(shape.size(), 2 * kFiles + 2 + 1 + 3);
    EXPECT_EQ(shape.count("f40"), 1u);
    EXPECT_EQ(shape.find("f90001")->second, "LostFiles1");
    EXPECT_EQ(shape.find("f" + std::to_string(100 + kFiles))->second, "f40");
}

TEST(AttachLostFiles, LostFoldersAdoptTheirChildrenTheRestGoIntoLostFiles) {
    Records r;
    r.Add(40, 99);         // a lost folder ...
    r.Add(41, 40, false);  // ... keeps its file
    r.Add(42, 40);
    r.Add(43, 42, false);
    r.Add(20, 99);  // a folder at a metadata number adopts nothing
    r.Add(44, 20, false);
    r.Add(45, 0, false);  // zeroed parent
    TreeOwner<> top(CreateFileNode());
    int lostFolders = 0;
    CountingCallback callback;
    ASSERT_TRUE(AttachLostFiles(r.list, top.get(), lostFolders, &callback));
    EXPECT_EQ(lostFolders, 1);
    const std::multimap<std::string, std::string> expected = {
        {"LostFiles1", ""}, {"f40", "LostFiles1"}, {"f41", "f40"},        {"f42", "f40"},
        {"f43", "f42"},     {"f20", "LostFiles1"}, {"f44", "LostFiles1"}, {"f45", "LostFiles1"}};
    EXPECT_EQ(Shape(top.get()), expected);
    EXPECT_EQ(callback.steps, 2) << "one step per adopting folder above record 24";

    const IFileProperties* lost = top->GetFirstChild()->GetProperties();
    EXPECT_EQ(lost->GetAttributes(), kAttrFolder);
    EXPECT_EQ(lost->GetState(), kStateTemp);
    EXPECT_EQ(lost->GetPropertiesKind(), kPropertiesNtfs) << "restorable from a scan state";

    // The next folder of the same build counts on.
    Records more;
    more.Add(50, 0, false);
    ASSERT_TRUE(AttachLostFiles(more.list, top.get(), lostFolders, nullptr));
    EXPECT_STREQ(top->GetFirstChild()->GetProperties()->GetName(), "LostFiles2");
}

TEST(AttachLostFiles, ParentCyclesEndAtTheTopOfTheChain) {
    struct Case {
        const char* what;
        std::vector<std::pair<int64_t, int64_t>> records;  // number, parent
    } cases[] = {
        {"two folders naming each other", {{40, 41}, {41, 40}}},
        {"a folder its own parent", {{40, 40}}},
        {"a cycle of three with a tail", {{40, 42}, {41, 40}, {42, 41}, {43, 41}}},
        {"a copy of a folder in the cycle", {{40, 41}, {41, 40}, {41, 40}}},
    };
    for (const Case& c : cases) {
        Records r;
        for (const auto& [number, parent] : c.records) r.Add(number, parent);
        TreeOwner<> top(CreateFileNode());
        int lostFolders = 0;
        ASSERT_TRUE(AttachLostFiles(r.list, top.get(), lostFolders, nullptr)) << c.what;
        EXPECT_EQ(Shape(top.get()).size(), c.records.size() + 1) << c.what << ": every node once";
        ForEachNode(top.get(), [&](CFileNode* n) {
            for (CFileNode* up = n->GetParent(); up; up = up->GetParent()) ASSERT_NE(up, n) << c.what;
        });
        ASSERT_TRUE(top->GetFirstChild()) << c.what;
        EXPECT_STREQ(top->GetFirstChild()->GetProperties()->GetName(), "LostFiles1") << c.what;
    }
}

TEST(AttachLostFiles, LongCycleIsClosedWithoutWalkingIt) {
    // 200,000 folders each naming the next, the last naming the first: a walk up the chain for
    // every adoption would take hours.
    constexpr int64_t kLength = 200000;
    Records r;
    for (int64_t n = 0; n < kLength; ++n) r.Add(100 + n, 100 + (n + 1) % kLength);
    TreeOwner<> top(CreateFileNode());
    int lostFolders = 0;
    ASSERT_TRUE(AttachLostFiles(r.list, top.get(), lostFolders, nullptr));
    CFileNode* lost = top->GetFirstChild();
    ASSERT_TRUE(lost);
    ASSERT_TRUE(lost->GetFirstChild());
    EXPECT_EQ(lost->GetFirstChild()->GetNextSibling(), nullptr) << "one chain under LostFiles1";
    int64_t depth = 0;
    for (CFileNode* n = lost->GetFirstChild(); n; n = n->GetFirstChild()) ++depth;
    EXPECT_EQ(depth, kLength);
}

TEST(AttachLostFiles, CancelStillLeavesEveryNodeInTheTree) {
    const size_t liveBefore = TreePool().LiveBlocks();
    {
        Records r;
        for (int64_t n = 40; n < 50; ++n) r.Add(n, 99);
        TreeOwner<> top(CreateFileNode());
        int lostFolders = 0;
        CountingCallback callback;
        callback.cancelAt = 2;
        EXPECT_FALSE(AttachLostFiles(r.list, top.get(), lostFolders, &callback));
        EXPECT_EQ(Shape(top.get()).size(), 11u);
    }
    EXPECT_EQ(TreePool().LiveBlocks(), liveBefore);
}

}  // namespace
}  // namespace keldrin::ntfs
