#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "engine/model/FileSystemNode.h"
#include "engine/model/FileTree.h"
#include "engine/raw/RAWFileProperties.h"
#include "engine/raw/RawTreeBuilder.h"
#include "tests/raw/RawTestSupport.h"

namespace keldrin::test {
namespace {

using TreeTest = RawTest;

TreeOwner<CFileSystemNode> Build(IStorageDevice* device, CRawFileStore& store,
                                 const IIsClusterUsed* map = nullptr, IDIRBuildCallback* callback = nullptr) {
    ListIterator it = store.GetIterator();
    return TreeOwner<CFileSystemNode>(CRawTreeBuilder::BuildRawTree(device, it, map, callback, false));
}

CRawFileStore JpegStore(int count) {
    CRawFileStore store;
    for (int i = 0; i < count; ++i) store.AddRawFile(CRawFileInfo{int64_t{i} * 4, 1500, 33, 33, nullptr});
    return store;
}

TEST_F(TreeTest, RootTypeFolderAndFileProperties) {
    CRawFileStore store;
    store.AddRawFile(CRawFileInfo{1234, 1500, 33, 33, nullptr});
    store.AddRawFile(CRawFileInfo{40, 512, 47, 47, nullptr});
    MemoryDevice device(2000);
    auto root = Build(&device, store);
    ASSERT_TRUE(root);
    EXPECT_EQ(NameOf(root.get()), "Raw Files");
    EXPECT_EQ(root->GetFileSystemType(), kFsRaw);
    EXPECT_EQ(root->GetVolumeLocation(), (VolumeLocation{0, 1}));
    EXPECT_EQ(root->GetProperties()->GetState(), kStateRawFolder);
    EXPECT_EQ(root->GetProperties()->GetDataRunList(), nullptr);
    EXPECT_EQ(ChildNames(root.get()),
              (std::vector<std::string>{"Portable Network Graphic file", "JPEG Graphics file"}));

    const CFileNode* jpeg = ChildNamed(ChildNamed(root.get(), "JPEG Graphics file"), "FILE001.JPG");
    ASSERT_NE(jpeg, nullptr);
    const IFileProperties* p = jpeg->GetProperties();
    EXPECT_EQ(p->GetFileSize(), 1500u);
    EXPECT_EQ(p->GetAttributes(), kAttrArchive);
    EXPECT_EQ(p->GetState(), 0);
    EXPECT_EQ(p->GetTypeCode(), kTypeCodeRaw);
    EXPECT_EQ(p->GetModificationTime(), 0u);
    auto runs = p->GetDataRunList();
    ASSERT_TRUE(runs);
    EXPECT_EQ(runs->GetRunListKind(), kRunListRaw);
    EXPECT_EQ(runs->GetExtents(), (std::vector<Extent>{{1234, 3}}));
    EXPECT_EQ(jpeg->GetVolumeLocation(), (VolumeLocation{0, 1}));
}

// The folder shapes of a type by its file count, newest range first.
TEST_F(TreeTest, RangeFoldersOf300Files) {
    struct Case {
        int files;
        std::vector<std::string> folders;  // empty: the files lie in the type folder itself
    };
    const Case cases[] = {
        {299, {}},
        {300, {"1-300"}},
        {301, {"301-301", "1-300"}},
        {450, {"301-450", "1-300"}},
        {600, {"301-600", "1-300"}},
        {601, {"601-601", "301-600", "1-300"}},
    };
    MemoryDevice device(4000);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.files);
        CRawFileStore store = JpegStore(c.files);
        auto root = Build(&device, store);
        ASSERT_EQ(ChildCount(root.get()), 1u);
        const CFileNode* type = ChildNamed(root.get(), "JPEG Graphics file");
        ASSERT_NE(type, nullptr);
        if (c.folders.empty()) {
            EXPECT_EQ(ChildCount(type), static_cast<size_t>(c.files));
            continue;
        }
        EXPECT_EQ(ChildNames(type), c.folders);
        size_t total = 0;
        for (const CFileNode* range = type->GetFirstChild(); range; range = range->GetNextSibling()) {
            EXPECT_TRUE(IsFolder(range->GetProperties()));
            EXPECT_GT(ChildCount(range), 0u);
            total += ChildCount(range);
        }
        EXPECT_EQ(total, static_cast<size_t>(c.files));
        // The first range holds the first 300 files.
        const CFileNode* first = ChildNamed(type, "1-300");
        EXPECT_NE(ChildNamed(first, "FILE001.JPG"), nullptr);
        EXPECT_NE(ChildNamed(first, "FILE300.JPG"), nullptr);
    }
}

TEST_F(TreeTest, FileNamesHaveAtLeastThreeDigits) {
    CRawFileStore store = JpegStore(1000);
    MemoryDevice device(5000);
    auto root = Build(&device, store);
    const CFileNode* type = ChildNamed(root.get(), "JPEG Graphics file");
    EXPECT_NE(ChildNamed(ChildNamed(type, "1-300"), "FILE010.JPG"), nullptr);
    const CFileNode* last = ChildNamed(type, "901-1000");
    ASSERT_NE(last, nullptr);
    EXPECT_NE(ChildNamed(last, "FILE1000.JPG"), nullptr);
    EXPECT_NE(ChildNamed(last, "FILE901.JPG"), nullptr);
}

class UsedBelowAndBetween final : public IIsClusterUsed {
  public:
    // Sectors before 100 lie outside the cluster area; [200, 300) is a used cluster run.
    bool IsSectorUsed(int64_t sector) const override {
        return sector < 100 || (sector >= 200 && sector < 300);
    }
};

class CountingCallback final : public IDIRBuildCallback {
  public:
    int BeginPhase(const char* text, int64_t total) override {
        phase = text;
        this->total = total;
        return kGoOn;
    }
    int Step(int64_t count) override {
        steps += count;
        return steps >= cancelAfter ? kCancelled : kGoOn;
    }
    int SetPosition(int64_t) override { return kGoOn; }
    int Finish() override {
        ++finished;
        return kGoOn;
    }
    int IsCancelled() override { return kGoOn; }
    std::string phase;
    int64_t total = 0, steps = 0, cancelAfter = 1 << 30;
    int finished = 0;
};

// The map leaves out candidates in used clusters; unchosen types and sizes that stay 0 are left out.
TEST_F(TreeTest, LeavesOutUsedClustersUnchosenTypesAndUnsizedFiles) {
    GetScanSettings().raw.chosenTypes = {33};
    CRawFileStore store;
    store.AddRawFile(CRawFileInfo{50, 512, 33, 33, nullptr});                // before the cluster area
    store.AddRawFile(CRawFileInfo{150, 512, 33, 33, nullptr});               // free: listed
    store.AddRawFile(CRawFileInfo{250, 512, 33, 33, nullptr});               // used cluster
    store.AddRawFile(CRawFileInfo{160, 512, 47, 47, nullptr});               // PNG no longer chosen
    store.AddRawFile(CRawFileInfo{170, 0, 33, kCustomAnalyserId, nullptr});  // size never decidable
    store.AddRawFile(CRawFileInfo{180, 0, 33, 99, nullptr});                 // no analyser with that id
    MemoryDevice device(1000);
    UsedBelowAndBetween map;
    CountingCallback callback;
    auto root = Build(&device, store, &map, &callback);
    const CFileNode* type = ChildNamed(root.get(), "JPEG Graphics file");
    ASSERT_EQ(ChildCount(root.get()), 1u);
    EXPECT_EQ(ChildNames(type), (std::vector<std::string>{"FILE001.JPG"}));
    EXPECT_EQ(type->GetFirstChild()->GetProperties()->GetDataRunList()->GetExtents()[0].start, 150u);
    EXPECT_EQ(callback.phase, "Building RAW file tree.");
    EXPECT_EQ(callback.total, 4);  // the candidates outside used clusters
    EXPECT_EQ(callback.finished, 1);

    GetScanSettings().raw.recoverRawFiles = false;
    EXPECT_FALSE(Build(&device, store));
}

TEST_F(TreeTest, CancelKeepsTheFilesMadeAndClosesTheRange) {
    CRawFileStore store = JpegStore(400);
    MemoryDevice device(2000);
    CountingCallback callback;
    callback.cancelAfter = 350;
    auto root = Build(&device, store, nullptr, &callback);
    const CFileNode* type = ChildNamed(root.get(), "JPEG Graphics file");
    EXPECT_EQ(ChildNames(type), (std::vector<std::string>{"301-350", "1-300"}));
    EXPECT_EQ(callback.finished, 1);
}

// Undecided sizes are decided from the volume at build time, cut to the maximal size, and left 0
// in the store; a size the header stated stays as it is.
TEST_F(TreeTest, PendingSizesDecidedAtBuildTimeAndCut) {
    UseAnalysers([](RawAnalysers& list) {
        list.push_back(std::make_unique<TrailerAnalyser>(47, 47));
        list.push_back(std::make_unique<HeaderSizeAnalyser>(33, 33));
    });
    GetScanSettings().raw.maxFileSize = 50000;
    MemoryDevice device(30000);
    device.Put(25000 * 512, "KLDB");
    device.Put(25000 * 512 + 5000, "KEND");
    device.Put(26000 * 512, "KLDB");
    device.Put(26000 * 512 + 100000, "KEND");
    const int64_t big = 80000;
    device.Put(27000 * 512, "KLDA");
    device.Put(27000 * 512 + 4, &big, 8);
    CRawFileStore store;
    CRAWSearchController scanner;
    ScanRaw(scanner, device, store);
    ASSERT_EQ(store.GetCount(), 3u);
    EXPECT_EQ(store.At(0)->size, 0);
    EXPECT_EQ(store.At(1)->size, 0);

    auto root = Build(&device, store);
    const CFileNode* png = ChildNamed(root.get(), "Portable Network Graphic file");
    ASSERT_EQ(ChildCount(png), 2u);
    EXPECT_EQ(ChildNamed(png, "FILE001.PNG")->GetProperties()->GetFileSize(), 5004u);
    EXPECT_EQ(ChildNamed(png, "FILE002.PNG")->GetProperties()->GetFileSize(), 50000u);
    const CFileNode* jpeg = ChildNamed(root.get(), "JPEG Graphics file");
    EXPECT_EQ(ChildNamed(jpeg, "FILE001.JPG")->GetProperties()->GetFileSize(), 80000u);
    EXPECT_EQ(store.At(0)->size, 0);  // decided again by every build
}

TEST_F(TreeTest, ThreadedBuildGivesTheSameTree) {
    CRawFileStore store = JpegStore(5);
    MemoryDevice device(100);
    ListIterator it = store.GetIterator();
    TreeOwner<CFileSystemNode> root(CRawTreeBuilder::BuildRawTree(&device, it, nullptr, nullptr, true));
    EXPECT_EQ(ChildCount(ChildNamed(root.get(), "JPEG Graphics file")), 5u);
}

}  // namespace
}  // namespace keldrin::test
