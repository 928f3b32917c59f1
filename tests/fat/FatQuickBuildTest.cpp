#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "engine/fat/FATQuickBuild.h"
#include "engine/fat/FATTable.h"
#include "engine/fat/FATTreeBuilder.h"
#include "engine/fat/FatPhaseTexts.h"
#include "engine/fat/FatVolumeEntry.h"
#include "engine/model/FileTree.h"
#include "engine/model/TreeWalk.h"
#include "shared/ScanSettings.h"
#include "tests/fat/FatTestImage.h"

namespace keldrin::fat {
namespace {

using test::EntrySpec;
using test::FatImage;
using test::MemoryDevice;
using test::WriteDotEntries;
using test::WriteEntry;

struct Listed {
    uint8_t state;
    uint64_t size;
    bool folder;
    std::vector<Extent> extents;
};

std::map<std::string, Listed> List(CFileNode* root) {
    std::map<std::string, Listed> out;
    std::map<const CFileNode*, std::string> paths{{root, ""}};
    ForEachNode(root, [&](CFileNode* node) {
        if (node == root) return;
        const IFileProperties* p = node->GetProperties();
        const std::string path =
            paths[node->GetParent()] + (paths[node->GetParent()].empty() ? "" : "/") + p->GetName();
        paths[node] = path;
        auto runs = p->GetDataRunList();
        out[path] = {p->GetState(), p->GetFileSize(), IsFolder(p),
                     runs ? runs->GetExtents() : std::vector<Extent>{}};
    });
    return out;
}

CFATSearchedPartitionInfo InfoFor(const FatImage& image) {
    CFATSearchedPartitionInfo info;
    info.partitionStart = image.partitionStart;
    info.flags = (image.type == 2 ? kFromFAT32DBR | kFromFAT32BackupDBR : kFromFAT16DBR) | kFoundFAT1 |
                 kUseFAT1 | kFoundFAT2 | kUseFAT2;
    return info;
}

// Cancels once the given phase has begun and seen the given position.
class CancellingCallback final : public IDIRBuildCallback {
  public:
    std::vector<std::string> phases;
    std::string cancelIn;
    int BeginPhase(const char* text, int64_t) override {
        phases.push_back(text);
        return IsCancelled();
    }
    int Step(int64_t) override { return IsCancelled(); }
    int SetPosition(int64_t) override { return IsCancelled(); }
    int Finish() override { return IsCancelled(); }
    int IsCancelled() override { return !phases.empty() && phases.back() == cancelIn ? kCancelled : kGoOn; }
};

// Root: KEEP.TXT (live), GONE.TXT (deleted), DOCS (live folder, cluster 10) holding OLD.TXT
// (deleted) and NOTE.TXT (live), TRASH (deleted folder, cluster 12) holding LIVE.TXT (live).
FatImage SampleVolume(int64_t start = 0) {
    FatImage image = FatImage::Fat16(start);
    uint8_t* root = image.Root();
    root += 32 * WriteEntry(root, {"SAMPLE     ", 0x08});
    root += 32 * WriteEntry(root, {"KEEP    TXT", 0x20, 20, 1500, 0, 0, u"keep me.txt"});
    image.SetFat(20, 21);
    image.SetFat(21, 30);  // fragmented: clusters 20, 21, 30
    image.SetFat(30, 0xFFFF);
    root += 32 * WriteEntry(root, {"\xE5ONE    TXT", 0x20, 40, 700});
    root += 32 * WriteEntry(root, {"DOCS       ", 0x10, 10, 0});
    root += 32 * WriteEntry(root, {"\xE5RASH      ", 0x10, 12, 0});
    uint8_t* docs = image.MakeFolder(10, 0);
    docs += 32 * WriteEntry(docs, {"\xE5LD     TXT", 0x20, 50, 100});
    docs += 32 * WriteEntry(docs, {"NOTE    TXT", 0x20, 51, 100});
    image.SetFat(51, 0xFFFF);
    uint8_t* trash = image.Cluster(12);
    WriteDotEntries(trash, 12, 0);
    WriteEntry(trash + 64, {"LIVE    TXT", 0x20, 60, 10});
    return image;
}

TEST(FatQuickBuild, DeletedViewListsLiveFoldersAndDeletedFiles) {
    FatImage image = SampleVolume();
    MemoryDevice device(&image.bytes);
    TreeOwner<CFileSystemNode> root(RunQuickBuild(nullptr, InfoFor(image), &device, false, 0));
    ASSERT_TRUE(root);
    const auto listed = List(root.get());
    std::vector<std::string> paths;
    for (const auto& [path, _] : listed) paths.push_back(path);
    EXPECT_EQ(paths,
              (std::vector<std::string>{"#ONE.TXT", "#RASH", "#RASH/LIVE.TXT", "DOCS", "DOCS/#LD.TXT"}));
    // A live file in a deleted folder is listed, and as deleted.
    EXPECT_EQ(listed.at("#RASH/LIVE.TXT").state, kStateDeleted);
    EXPECT_EQ(listed.at("#ONE.TXT").extents, (std::vector<Extent>{{38, 2}}));
}

TEST(FatQuickBuild, AllEntriesWithRootAndExtents) {
    FatImage image = SampleVolume(63);
    MemoryDevice device(&image.bytes);
    TreeOwner<CFileSystemNode> root(RunQuickBuild(nullptr, InfoFor(image), &device, true, 0));
    ASSERT_TRUE(root);
    EXPECT_STREQ(root->GetProperties()->GetName(), "1 FAT16");
    EXPECT_STREQ(root->GetDisplayName(), "SAMPLE");
    EXPECT_EQ(root->GetFileSystemType(), kFsFat16);
    // The recovery writer reads an extent at first + start x sectors per cluster.
    EXPECT_EQ(root->GetVolumeLocation(), (VolumeLocation{image.DataStart(), 1}));
    const auto listed = List(root.get());
    EXPECT_EQ(listed.size(), 7u);
    EXPECT_EQ(listed.at("keep me.txt").extents, (std::vector<Extent>{{18, 2}, {28, 1}}));
    EXPECT_EQ(listed.at("keep me.txt").state, 0);
    EXPECT_EQ(listed.at("DOCS/NOTE.TXT").extents, (std::vector<Extent>{{49, 1}}));
}

TEST(FatQuickBuild, FoldersMustStartWithDotEntries) {
    FatImage image = FatImage::Fat16();
    uint8_t* root = image.Root();
    root += 32 * WriteEntry(root, {"NODOTS     ", 0x10, 10});
    root += 32 * WriteEntry(root, {"BADDOTS    ", 0x10, 11});
    WriteEntry(image.Cluster(10), {"INSIDE  TXT", 0x20, 30, 5});
    WriteEntry(image.Cluster(11), {".", 0x10, 11});
    WriteEntry(image.Cluster(11) + 32, {"OTHER      ", 0x10, 12});
    WriteEntry(image.Cluster(11) + 64, {"INSIDE  TXT", 0x20, 31, 5});
    MemoryDevice device(&image.bytes);
    TreeOwner<CFileSystemNode> root1(RunQuickBuild(nullptr, InfoFor(image), &device, true, 0));
    ASSERT_TRUE(root1);
    const auto listed = List(root1.get());
    EXPECT_EQ(listed.size(), 2u);  // both folders stay, empty
    EXPECT_TRUE(listed.count("NODOTS") && listed.count("BADDOTS"));
}

TEST(FatQuickBuild, Fat32RootWithDotEntryIsNotParsed) {
    FatImage image = FatImage::Fat32();
    WriteDotEntries(image.Root(), 2, 0);
    WriteEntry(image.Root() + 64, {"FILE    TXT", 0x20, 5, 10});
    MemoryDevice device(&image.bytes);
    TreeOwner<CFileSystemNode> root(RunQuickBuild(nullptr, InfoFor(image), &device, true, 0));
    ASSERT_TRUE(root);
    EXPECT_EQ(root->GetFirstChild(), nullptr);
}

// A FAT whose chains loop fails its own tests, so the walk is driven by a table that loops.
struct LoopingFat final : IFATTable {
    uint32_t GetEntry(uint32_t n) const override {
        switch (n) {
            case 2:
                return 3;
            case 3:
                return 2;  // the root chain loops
            case 10:
                return 11;
            case 11:
                return 10;  // so does the folder's
            default:
                return 0;
        }
    }
};

TEST(FatQuickBuild, LoopingChainsEnd) {
    FatImage image = FatImage::Fat32();
    WriteEntry(image.Root(), {"A       TXT", 0x20, 0, 0});
    WriteEntry(image.Cluster(3), {"LOOPDIR    ", 0x10, 10});
    uint8_t* dir = image.MakeFolder(10, 0);
    WriteEntry(dir, {"B       TXT", 0x20, 0, 0});
    WriteEntry(image.Cluster(11), {"C       TXT", 0x20, 0, 0});
    // A folder entry pointing back at the root's cluster is refused as read before.
    WriteEntry(image.Cluster(11) + 32, {"BACK       ", 0x10, 2});
    MemoryDevice device(&image.bytes);
    FatLayout layout;
    layout.type = kFsFat32;
    layout.dataStart = image.DataStart();
    layout.rootCluster = 2;
    layout.rootStart = image.DataStart();
    layout.totalSectors = image.totalSectors;
    LoopingFat fat;
    CFATTreeBuilder builder(nullptr, &device, layout, &fat, 0);
    TreeOwner<CFileSystemNode> root(builder.WalkFromRoot(true));
    ASSERT_TRUE(root);
    const auto listed = List(root.get());
    std::vector<std::string> paths;
    for (const auto& [path, _] : listed) paths.push_back(path);
    EXPECT_EQ(paths, (std::vector<std::string>{"A.TXT", "LOOPDIR", "LOOPDIR/B.TXT", "LOOPDIR/BACK",
                                               "LOOPDIR/C.TXT"}));
}

TEST(FatQuickBuild, LongNameSplitOverTwoBatches) {
    FatImage image = FatImage::Fat16();
    WriteEntry(image.Root(), {"BIG        ", 0x10, 10});
    image.MakeFolder(10, 0);
    for (uint32_t c = 10; c < 140; ++c) image.SetFat(c, c + 1);
    image.SetFat(140, 0xFFFF);
    // The first batch is clusters 10 to 137; the pieces fill the end of 137, the short entry
    // opens 138.
    std::vector<uint8_t> run(32 * 8);
    const size_t pieces =
        WriteEntry(run.data(), {"SPLITN~1TXT", 0x20, 200, 1, 0, 0, u"split name over batches.txt"}) - 1;
    std::copy(run.begin(), run.begin() + 32 * pieces, image.Cluster(137) + 512 - 32 * pieces);
    std::copy(run.begin() + 32 * pieces, run.begin() + 32 * (pieces + 1), image.Cluster(138));
    MemoryDevice device(&image.bytes);
    TreeOwner<CFileSystemNode> root(RunQuickBuild(nullptr, InfoFor(image), &device, true, 0));
    ASSERT_TRUE(root);
    const auto listed = List(root.get());
    EXPECT_EQ(listed.count("BIG/split name over batches.txt"), 1u);
    EXPECT_EQ(listed.size(), 2u);
}

TEST(FatQuickBuild, FolderClaimsInTheTree) {
    FatImage image = FatImage::Fat16();
    uint8_t* root = image.Root();
    // Two deleted folders with one cluster: the later one wins and keeps the content.
    root += 32 * WriteEntry(root, {"\xE5OLDER     ", 0x10, 10, 0, (40 << 9) | (1 << 5) | 1});
    root += 32 * WriteEntry(root, {"\xE5NEWER     ", 0x10, 10, 0, (41 << 9) | (1 << 5) | 1});
    uint8_t* shared = image.Cluster(10);
    WriteDotEntries(shared, 10, 0);
    WriteEntry(shared + 64, {"\xE5ILE    TXT", 0x20, 30, 10});
    // A deleted folder whose deleted subfolder names the outer folder's cluster again, newer: taking
    // it over would hang the outer folder below itself.
    root += 32 * WriteEntry(root, {"\xE5UTER      ", 0x10, 20, 0, (40 << 9) | (1 << 5) | 1});
    uint8_t* outer = image.Cluster(20);
    WriteDotEntries(outer, 20, 0);
    WriteEntry(outer + 64, {"\xE5NNER      ", 0x10, 21});
    uint8_t* inner = image.Cluster(21);
    WriteDotEntries(inner, 21, 20);
    WriteEntry(inner + 64, {"\xE5GAIN      ", 0x10, 20, 0, (45 << 9) | (1 << 5) | 1});
    MemoryDevice device(&image.bytes);
    TreeOwner<CFileSystemNode> tree(RunQuickBuild(nullptr, InfoFor(image), &device, true, 0));
    ASSERT_TRUE(tree);
    const auto listed = List(tree.get());
    std::vector<std::string> paths;
    for (const auto& [path, _] : listed) paths.push_back(path);
    // The inner folder lost its claim and, left empty, went with the clean-up.
    EXPECT_EQ(paths, (std::vector<std::string>{"#NEWER", "#NEWER/#ILE.TXT", "#UTER"}));
}

TEST(FatQuickBuild, CancelGivesNoTree) {
    FatImage image = SampleVolume();
    MemoryDevice device(&image.bytes);
    for (const char* phase : {"Reading partition parameters...", "Building Directories..."}) {
        CancellingCallback callback;
        callback.cancelIn = phase;
        EXPECT_EQ(RunQuickBuild(&callback, InfoFor(image), &device, true, 0), nullptr) << phase;
    }
    CancellingCallback german;
    TreeOwner<CFileSystemNode> root(RunQuickBuild(&german, InfoFor(image), &device, true, kLanguageGerman));
    EXPECT_EQ(german.phases,
              (std::vector<std::string>{"Lese Partitionsparameter...", "Erstelle Verzeichnisse..."}));
}

TEST(FatQuickBuild, RefusedVolumes) {
    FatImage image = SampleVolume();
    MemoryDevice device(&image.bytes);
    CFATSearchedPartitionInfo info = InfoFor(image);
    info.flags = kFromFAT32BackupDBR;  // a FAT16 volume has no backup boot record
    EXPECT_EQ(RunQuickBuild(nullptr, info, &device, true, 0), nullptr);
    image.SetFat(0, 0, -1);  // no FAT at its place
    EXPECT_EQ(RunQuickBuild(nullptr, InfoFor(image), &device, true, 0), nullptr);
}

TEST(FatVolumeEntry, BuildsFromTheBackupBootRecordAndFollowsTheSettings) {
    FatImage image = FatImage::Fat32(2048);
    WriteEntry(image.Root(), {"FRAG    BIN", 0x20, 5, 1024});
    image.SetFat(5, 9);
    image.SetFat(9, 0x0FFFFFFF);
    image.Boot()[0x52] = 'X';  // the boot sector is damaged, its backup is not
    MemoryDevice device(&image.bytes);
    TreeOwner<CFileSystemNode> root(BuildFatVolumeTree(&device, 2048, true, nullptr));
    ASSERT_TRUE(root);
    EXPECT_EQ(List(root.get()).at("FRAG.BIN").extents, (std::vector<Extent>{{3, 1}, {7, 1}}));

    ScanSettings& settings = GetScanSettings();
    settings.fatUseFirstCopy = settings.fatUseSecondCopy = false;
    TreeOwner<CFileSystemNode> contiguous(BuildFatVolumeTree(&device, 2048, true, nullptr));
    settings.fatUseFirstCopy = settings.fatUseSecondCopy = true;
    ASSERT_TRUE(contiguous);
    EXPECT_EQ(List(contiguous.get()).at("FRAG.BIN").extents, (std::vector<Extent>{{3, 2}}));
}

}  // namespace
}  // namespace keldrin::fat
