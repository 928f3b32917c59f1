#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/devices/Volume.h"
#include "engine/model/FileProperties.h"
#include "engine/model/FileTree.h"
#include "engine/model/NTFSFileProperties.h"
#include "engine/model/SmallBlockPool.h"
#include "engine/model/TreeWalk.h"
#include "engine/ntfs/NTFSTreeBuilder.h"
#include "shared/TypeFilter.h"
#include "tests/ntfs/NtfsBuilders.h"

namespace keldrin::ntfs {
namespace {

using test::Bytes;
using test::FakeLayout;
using test::FakeVolume;
using test::FileSpec;
using test::RecordBuilder;
using test::Ref;
using test::UserRecord;

// Records the phases and cancels once a given phase has seen enough progress.
class ScriptedCallback : public IDIRBuildCallback {
  public:
    struct Phase {
        std::string text;
        int64_t total;
    };
    std::vector<Phase> phases;
    std::string cancelIn;
    int64_t cancelAfter = 0;  // steps or positions in that phase

    int BeginPhase(const char* text, int64_t total) override {
        phases.push_back({text, total});
        progress_ = 0;
        return IsCancelled();
    }
    int Step(int64_t count) override {
        progress_ += count;
        return IsCancelled();
    }
    int SetPosition(int64_t position) override {
        progress_ = position;
        return IsCancelled();
    }
    int Finish() override { return IsCancelled(); }
    int IsCancelled() override {
        const bool now = !phases.empty() && phases.back().text == cancelIn && progress_ >= cancelAfter;
        return now ? kCancelled : kGoOn;
    }

  private:
    int64_t progress_ = 0;
};

TreeOwner<CFileSystemNode> Build(FakeVolume& volume, IDIRBuildCallback* callback = nullptr,
                                 int language = 0) {
    CNTFSTreeBuilder builder(language);
    return TreeOwner<CFileSystemNode>(
        builder.BuildTree(volume.layout().firstSector, &volume.device(), callback));
}

CFileNode* Child(const CFileNode* folder, std::string_view name) {
    for (CFileNode* c = folder ? folder->GetFirstChild() : nullptr; c; c = c->GetNextSibling())
        if (c->GetProperties()->GetName() == name) return c;
    return nullptr;
}

std::vector<std::string> Names(const CFileNode* folder) {
    std::vector<std::string> names;
    for (CFileNode* c = folder->GetFirstChild(); c; c = c->GetNextSibling())
        names.emplace_back(c->GetProperties()->GetName());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(NTFSTreeBuilder, BuildsTheVolumeUnderItsFileSystemNode) {
    FakeVolume v({.firstSector = 64, .deviceSectors = 8192});
    v.Put(64, UserRecord(64, {.name = u"Docs", .folder = true}));
    v.Put(65, UserRecord(65, {.name = u"a.txt", .parent = 64, .residentBytes = 10}));
    v.Put(66, UserRecord(66, {.name = u"top.txt", .residentBytes = 0}));
    ScriptedCallback callback;
    TreeOwner<CFileSystemNode> root = Build(v, &callback);
    ASSERT_TRUE(root);
    EXPECT_EQ(root->GetFileSystemType(), kFsNtfs);
    EXPECT_EQ(root->GetVolumeLocation(), (VolumeLocation{64, 8}));
    EXPECT_STREQ(root->GetProperties()->GetName(), "1 NTFS");
    EXPECT_EQ(root->GetProperties()->GetAttributes(), kAttrFolder);
    EXPECT_STREQ(root->GetDisplayName(), "Fake Volume");
    EXPECT_EQ(Names(root.get()), (std::vector<std::string>{"Docs", "top.txt"}))
        << "metadata files are left out";
    CFileNode* a = Child(Child(root.get(), "Docs"), "a.txt");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->GetProperties()->GetFileSize(), 10u);
    EXPECT_EQ(a->GetBuilderRecord(), nullptr) << "the build records are gone";

    ASSERT_EQ(callback.phases.size(), 2u);
    EXPECT_EQ(callback.phases[0].text, "NTFS:Reading files");
    EXPECT_EQ(callback.phases[0].total, 2) << "128 records of 2 sectors: two 64 KiB chunks";
    EXPECT_EQ(callback.phases[1].text, "NTFS:Building directory tree");
    EXPECT_EQ(callback.phases[1].total, 3);

    ScriptedCallback german;
    EXPECT_TRUE(Build(v, &german, 1));
    ASSERT_EQ(german.phases.size(), 2u);
    EXPECT_EQ(german.phases[0].text, "NTFS: Lese Daten");
    EXPECT_EQ(german.phases[1].text, "NTFS: Erstelle Verzeichnissbaum");
}

TEST(NTFSTreeBuilder, DeletedFilesStayInTheirFolders) {
    FakeVolume v;
    v.Put(64, UserRecord(64, {.name = u"Docs", .folder = true}));
    v.Put(65, UserRecord(65, {.name = u"gone.txt", .parent = 64, .inUse = false}));
    v.Put(66, UserRecord(66, {.name = u"Old", .inUse = false, .folder = true}));
    v.Put(67, UserRecord(67, {.name = u"older.txt", .parent = 66, .inUse = false}));
    v.Put(68, UserRecord(68, {.name = u"kept.txt", .parent = 64}));
    TreeOwner<CFileSystemNode> root = Build(v);
    ASSERT_TRUE(root);
    CFileNode* docs = Child(root.get(), "Docs");
    ASSERT_TRUE(Child(docs, "gone.txt"));
    EXPECT_EQ(Child(docs, "gone.txt")->GetProperties()->GetState(), kStateDeleted);
    EXPECT_EQ(Child(docs, "kept.txt")->GetProperties()->GetState(), 0);
    CFileNode* old = Child(root.get(), "Old");
    ASSERT_TRUE(old);
    EXPECT_EQ(old->GetProperties()->GetState(), kStateDeleted);
    ASSERT_TRUE(Child(old, "older.txt"));
    EXPECT_EQ(Child(old, "older.txt")->GetProperties()->GetState(), kStateDeleted);
}

TEST(NTFSTreeBuilder, UnreachableFilesGoToLostFiles1) {
    FakeVolume v;
    v.Put(64, UserRecord(64, {.name = u"zeroed.txt", .parent = 0}));
    v.Put(65, UserRecord(65, {.name = u"orphan.txt", .parent = Ref(60)}));  // record 60 is empty
    v.Put(66, UserRecord(66, {.name = u"A", .parent = Ref(67), .folder = true}));
    v.Put(67, UserRecord(67, {.name = u"B", .parent = Ref(66), .folder = true}));
    v.Put(68, UserRecord(68, {.name = u"in A.txt", .parent = Ref(66)}));
    TreeOwner<CFileSystemNode> root = Build(v);
    ASSERT_TRUE(root);
    CFileNode* lost = Child(root.get(), "LostFiles1");
    ASSERT_TRUE(lost);
    EXPECT_EQ(lost->GetProperties()->GetState(), kStateTemp);
    EXPECT_EQ(Names(root.get()), (std::vector<std::string>{"LostFiles1"}));
    // The cycle A <-> B is cut at one of them; the other and A's file hang below.
    ASSERT_EQ(Names(lost).size(), 3u);
    EXPECT_TRUE(Child(lost, "zeroed.txt") && Child(lost, "orphan.txt"));
    CFileNode* a = Child(lost, "A") ? Child(lost, "A") : Child(Child(lost, "B"), "A");
    ASSERT_TRUE(a);
    EXPECT_TRUE(Child(a, "in A.txt"));
}

TEST(NTFSTreeBuilder, ShowsTheWin32NameAndAProperParent) {
    FakeVolume v;
    v.Put(64, UserRecord(64, {.name = u"Docs", .folder = true}));
    // The builder's default name is Win32; these records start with a DOS name.
    RecordBuilder b(1024);
    b.Number(65)
        .AddStandardInformation(0x20)
        .AddFileName({.parent = 64, .name = u"LONGNA~1.TXT", .nameSpace = 2})
        .AddFileName({.parent = 64, .name = u"long name.txt", .nameSpace = 1});
    v.Put(65, b);
    RecordBuilder c(1024);
    c.Number(66)
        .AddStandardInformation(0x20)
        .AddFileName({.parent = 64, .name = u"OTHER~1.TXT", .nameSpace = 2})
        .AddFileName({.parent = 3, .name = u"other name.txt", .nameSpace = 1});
    v.Put(66, c);
    TreeOwner<CFileSystemNode> root = Build(v);
    ASSERT_TRUE(root);
    EXPECT_EQ(Names(Child(root.get(), "Docs")),
              (std::vector<std::string>{"long name.txt", "other name.txt"}));
}

TEST(NTFSTreeBuilder, TakesMftFromTheMirrorWhenItsRecordIsUnreadable) {
    FakeVolume v;
    v.Put(64, UserRecord(64, {.name = u"still here.txt"}));
    v.Overwrite(0, Bytes(1024, 0xEE));
    TreeOwner<CFileSystemNode> root = Build(v);
    ASSERT_TRUE(root);
    EXPECT_TRUE(Child(root.get(), "still here.txt"));
    EXPECT_STREQ(root->GetDisplayName(), "Fake Volume") << "the label of the mirror's $Volume";

    // Without the mirror's copy as well there is no $MFT to read.
    v.device().Write(v.ClusterSector(v.layout().mirrCluster), Bytes(1024, 0));
    EXPECT_FALSE(Build(v));
}

TEST(NTFSTreeBuilder, NoTreeWithoutUserFilesOrWithoutNtfs) {
    FakeVolume v;
    EXPECT_FALSE(Build(v)) << "metadata files only";

    FakeVolume damaged;
    damaged.Put(64, UserRecord(64, {.name = u"x.txt"}));
    damaged.device().Write(0, Bytes(512, 0));
    EXPECT_FALSE(Build(damaged)) << "no boot sector";

    CNTFSTreeBuilder builder(0);
    EXPECT_FALSE(builder.BuildTree(0, nullptr, nullptr));
    EXPECT_FALSE(builder.BuildTree(5000, &v.device(), nullptr)) << "a first sector past the device";
}

TEST(NTFSTreeBuilder, TypeFilterKeepsFoldersAndDropsOtherFiles) {
    SetTypeFilter({".doc"});
    FakeVolume v;
    v.Put(64, UserRecord(64, {.name = u"Pictures", .folder = true}));
    v.Put(65, UserRecord(65, {.name = u"cat.jpg", .parent = 64}));
    v.Put(66, UserRecord(66, {.name = u"readme"}));
    v.Put(67, UserRecord(67, {.name = u"letter.doc"}));
    TreeOwner<CFileSystemNode> root = Build(v);
    SetTypeFilter({});
    ASSERT_TRUE(root);
    EXPECT_EQ(Names(root.get()), (std::vector<std::string>{"Pictures", "letter.doc"}));
    EXPECT_FALSE(Child(root.get(), "Pictures")->GetFirstChild());
}

TEST(NTFSTreeBuilder, CancelGivesNullAndFreesEverything) {
    FakeVolume v({.mftRecords = 256, .deviceSectors = 8192});
    v.Put(0, v.MftRecord());
    v.Put(64, UserRecord(64, {.name = u"Docs", .folder = true}));
    for (uint32_t n = 65; n < 250; ++n)
        v.Put(n, UserRecord(n, {.name = u"f.txt", .parent = n % 2 ? 64u : 5u}));
    v.Put(250, UserRecord(250, {.name = u"lost.txt", .parent = 0}));
    v.Put(251, UserRecord(251, {.name = u"Lost folder", .parent = 0, .folder = true}));
    v.Put(252, UserRecord(252, {.name = u"in lost folder.txt", .parent = 251}));
    struct Case {
        const char* phase;
        int64_t after;
    } cases[] = {{"NTFS:Building directory tree", 0},
                 {"NTFS:Building directory tree", 100},
                 {"NTFS:Building directory tree", 186},  // the last record reached from the root
                 {"NTFS:Building directory tree", 187},  // among the lost files
                 {"NTFS:Reading files", 1}};
    for (const Case& c : cases) {
        const size_t liveBefore = TreePool().LiveBlocks();
        ScriptedCallback callback;
        callback.cancelIn = c.phase;
        callback.cancelAfter = c.after;
        EXPECT_FALSE(Build(v, &callback)) << c.phase << " " << c.after;
        EXPECT_EQ(TreePool().LiveBlocks(), liveBefore) << c.phase << " " << c.after;
    }
    ScriptedCallback callback;
    EXPECT_TRUE(Build(v, &callback));
    EXPECT_EQ(callback.phases[0].total, 4) << "256 records: four chunks";
    EXPECT_EQ(callback.phases[1].total, 189);
}

TEST(NTFSTreeBuilder, FileDataResidentOrInClusters) {
    FakeVolume v;
    RecordBuilder small = UserRecord(64, {.name = u"small.txt"});
    const size_t dataOffset = small.NextOffset();
    small.Add(test::ResidentAttribute(0x80, Bytes(123, 'x')));
    v.Put(64, small);
    v.Put(65, RecordBuilder(1024)
                  .Number(65)
                  .AddStandardInformation(0x20)
                  .AddFileName({.name = u"big.bin"})
                  .Add(test::DataAttribute({{300, 3}, {200, 1}}, 15000)));
    TreeOwner<CFileSystemNode> root = Build(v);
    ASSERT_TRUE(root);

    const auto* resident =
        static_cast<const CNTFSFileProperties*>(Child(root.get(), "small.txt")->GetProperties());
    EXPECT_EQ(resident->GetFileSize(), 123u);
    EXPECT_EQ(resident->GetRecordSector(), v.RecordSector(64));
    auto list = resident->GetDataRunList();
    ASSERT_TRUE(list && list->IsResident());
    EXPECT_EQ(list->GetResidentOffset(), dataOffset + 24);
    EXPECT_EQ(list->GetExtents(), (std::vector<Extent>{{static_cast<uint64_t>(v.RecordSector(64)), 1}}));

    const IFileProperties* big = Child(root.get(), "big.bin")->GetProperties();
    EXPECT_EQ(big->GetFileSize(), 15000u);
    EXPECT_EQ(big->GetDataRunList()->GetExtents(), (std::vector<Extent>{{300, 3}, {200, 1}}));
}

TEST(NTFSTreeBuilder, NegativeSizeBecomesTheAllocatedClusters) {
    FakeVolume v;
    v.Put(64, RecordBuilder(1024)
                  .Number(64)
                  .AddStandardInformation(0x20)
                  .AddFileName({.name = u"broken.bin"})
                  .Add(test::DataAttribute({{300, 3}}, -5)));
    TreeOwner<CFileSystemNode> root = Build(v);
    ASSERT_TRUE(root);
    EXPECT_EQ(Child(root.get(), "broken.bin")->GetProperties()->GetFileSize(), 3u * 8 * 512);
}

TEST(NTFSTreeBuilder, FileWithAnExtensionRecord) {
    FakeVolume v;
    // Record 70's data lives in extension record 71, which is no node of its own.
    v.Put(70, RecordBuilder(1024)
                  .Number(70)
                  .AddStandardInformation(0x20)
                  .Add(test::ResidentAttribute(
                      0x20, test::AttributeListValue(
                                {{0x10, Ref(70)}, {0x30, Ref(70)}, {0x80, Ref(71)}, {0x80, Ref(71)}})))
                  .AddFileName({.name = u"fragmented.bin"}));
    v.Put(71, RecordBuilder(1024)
                  .Number(71)
                  .Base(Ref(70))
                  .Add(test::DataAttribute({{400, 2}}, 40000))
                  .Add(test::DataAttribute({{450, 8}}, 0, 2)));
    TreeOwner<CFileSystemNode> root = Build(v);
    ASSERT_TRUE(root);
    EXPECT_EQ(Names(root.get()), (std::vector<std::string>{"fragmented.bin"}));
    const auto* p =
        static_cast<const CNTFSFileProperties*>(Child(root.get(), "fragmented.bin")->GetProperties());
    EXPECT_EQ(p->GetFileSize(), 40000u);
    EXPECT_EQ(p->GetDataRunList()->GetExtents(), (std::vector<Extent>{{400, 2}, {450, 8}}));
    ASSERT_EQ(p->GetExtensionRecords().size(), 1u);
    EXPECT_EQ(p->GetExtensionRecords()[0], (NTFSExtensionRecord{v.RecordSector(71), 71}));
}

TEST(NTFSTreeBuilder, FourKilobyteRecords) {
    // One cluster per record: the label is record 3 at three records past $MFT's own, and the
    // records are walked in their whole size.
    FakeVolume v({.clustersPerRecord = 1,
                  .mftCluster = 32,
                  .mftRecords = 80,
                  .deviceSectors = 8192,
                  .label = u"Big Records"});
    RecordBuilder far(4096);
    far.Number(70).AddStandardInformation(0x20).Add(test::ResidentAttribute(0x40, Bytes(1800)));
    far.Add(test::ResidentAttribute(0x40, Bytes(1800))).AddFileName({.name = u"late name.txt"});
    v.Put(70, far);
    TreeOwner<CFileSystemNode> root = Build(v);
    ASSERT_TRUE(root);
    EXPECT_STREQ(root->GetDisplayName(), "Big Records");
    EXPECT_EQ(Names(root.get()), (std::vector<std::string>{"late name.txt"}))
        << "a name past the first 1024 bytes";
    EXPECT_EQ(
        static_cast<const CNTFSFileProperties*>(root->GetFirstChild()->GetProperties())->GetRecordSector(),
        v.RecordSector(70));
}

TEST(NTFSTreeBuilder, MftRunsPastTheDeviceAreNotRead) {
    FakeVolume v;
    v.Put(64, UserRecord(64, {.name = u"real.txt"}));
    // $MFT claims its own 128 records and then a terabyte-sized run far past the device.
    v.Put(0, v.MftRecord({{16, 32}, {100000, 0x7FFFFFFF}}, int64_t{1} << 40));
    ScriptedCallback callback;
    TreeOwner<CFileSystemNode> root = Build(v, &callback);
    ASSERT_TRUE(root);
    EXPECT_EQ(Names(root.get()), (std::vector<std::string>{"real.txt"}));
    EXPECT_EQ(callback.phases[0].total, 2);

    // A hundred runs over the same 32 clusters: never more is read than the device holds, 4096
    // sectors, which is 16 passes over the 128 records.
    v.Put(0, v.MftRecord(std::vector<test::Cluster>(100, {16, 32}), 100 * 128 * 1024));
    root = Build(v);
    ASSERT_TRUE(root);
    EXPECT_EQ(Names(root.get()).size(), 16u);
}

TEST(NTFSTreeBuilder, DamagedAttributeListsCannotMultiplyTheReading) {
    // 2000 records whose attribute lists all name every one of the 2048 records: followed for
    // each, that would be four million record reads.
    FakeVolume v({.mftRecords = 2048, .deviceSectors = 20000});
    constexpr int64_t kListCluster = 1200;
    Bytes list;
    for (int64_t n = 0; n < 2048; ++n) {
        const Bytes e = test::AttributeListValue({{0x80, Ref(n)}});
        list.insert(list.end(), e.begin(), e.end());
    }
    v.device().Write(v.ClusterSector(kListCluster), list);
    const Bytes listAttribute =
        test::NonResidentAttribute(0x20, {.pairs = EncodeMappingPairs({{kListCluster, 16}}),
                                          .lastVcn = 15,
                                          .allocatedSize = 256 * 1024,
                                          .dataSize = static_cast<int64_t>(list.size()),
                                          .initializedSize = static_cast<int64_t>(list.size())});
    for (uint32_t n = 40; n < 2040; ++n) {
        v.Put(n, RecordBuilder(1024)
                     .Number(n)
                     .AddStandardInformation(0x20)
                     .Add(listAttribute)
                     .AddFileName({.name = u"listed.bin"}));
    }
    TreeOwner<CFileSystemNode> root = Build(v);
    ASSERT_TRUE(root);
    EXPECT_EQ(Names(root.get()).size(), 2000u) << "every file is still shown, from its base record";
    EXPECT_LT(v.device().reads(), 100000);
}

}  // namespace
}  // namespace keldrin::ntfs
