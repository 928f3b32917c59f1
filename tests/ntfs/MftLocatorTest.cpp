#include <gtest/gtest.h>

#include "engine/model/FileTree.h"
#include "engine/ntfs/MftLocator.h"
#include "engine/ntfs/MftMap.h"
#include "engine/ntfs/NTFSTreeBuilder.h"
#include "tests/ntfs/NtfsBuilders.h"

namespace keldrin::ntfs {
namespace {

using test::Bytes;
using test::FakeVolume;
using test::RecordBuilder;
using test::Ref;

bool Locate(FakeVolume& v, CMFTInfo& info) {
    uint8_t sector[512];
    if (!v.device().ReadSectors(sector, v.layout().firstSector, 1)) return false;
    const CNTFSDBR boot{std::span<const uint8_t>(sector)};
    NtfsGeometry g;
    if (!GeometryFromBootSector(boot, v.layout().firstSector, g)) return false;
    return LocateMft(v.device(), boot, g, v.device().GetTotalSectors(), info);
}

TEST(LocateMft, TakesTheRecordAndRunsAtTheMftCluster) {
    FakeVolume v({.firstSector = 32, .deviceSectors = 8192});
    CMFTInfo info;
    ASSERT_TRUE(Locate(v, info));
    EXPECT_EQ(info.recordSector, v.RecordSector(0));
    EXPECT_EQ(info.runs, (std::vector<NtfsRun>{{16, 0, 32}}));
    EXPECT_EQ(info.sectorsPerRecord, 2);
    EXPECT_EQ(info.sectorsPerCluster, 8);

    v.Overwrite(0, Bytes(1024, 0));
    ASSERT_TRUE(Locate(v, info));
    EXPECT_EQ(info.recordSector, v.ClusterSector(v.layout().mirrCluster)) << "the $MFTMirr copy";
    EXPECT_EQ(info.runs, (std::vector<NtfsRun>{{16, 0, 32}}));
}

TEST(LocateMft, RefusesWhatIsNotMftsOwnRecord) {
    struct Case {
        const char* what;
        RecordBuilder record;
    } cases[] = {
        {"another metadata name", test::SystemRecord(0, u"$MFTMirr")},
        {"no system and hidden bits", test::UserRecord(0, {.name = u"$MFT"})},
        {"no $DATA", test::SystemRecord(0, u"$MFT")},
    };
    for (Case& c : cases) {
        FakeVolume v;
        v.Put(0, c.record);
        CMFTInfo info;
        EXPECT_FALSE(Locate(v, info)) << c.what;
    }
}

// $MFT in two fragments: records 0-63 at cluster 16, records 64-127 at cluster 200, the second
// fragment described in $MFT's extension record 15.
struct FragmentedMft {
    FakeVolume v{{.mftRecords = 128, .deviceSectors = 8192}};
    static constexpr int64_t kSecondFragment = 200;

    explicit FragmentedMft(uint64_t extensionBase = Ref(0)) {
        v.Put(
            0,
            test::SystemRecord(0, u"$MFT")
                .Add(test::ResidentAttribute(
                    0x20,
                    test::AttributeListValue(
                        {{0x10, Ref(0)}, {0x30, Ref(0)}, {0x80, Ref(0)}, {0x80, Ref(15)}, {0x80, Ref(99)}})))
                .Add(test::DataAttribute({{16, 16}}, 128 * 1024)));
        v.Put(15, RecordBuilder()
                      .Number(15)
                      .Base(extensionBase)
                      .Add(test::DataAttribute({{kSecondFragment, 16}}, 0, 16)));
    }
    int64_t SectorOf(int64_t record) const {
        return record < 64 ? v.RecordSector(record) : v.ClusterSector(kSecondFragment) + (record - 64) * 2;
    }
};

TEST(LocateMft, GathersRunsFromExtensionRecords) {
    FragmentedMft f;
    CMFTInfo info;
    ASSERT_TRUE(Locate(f.v, info));
    EXPECT_EQ(info.runs, (std::vector<NtfsRun>{{16, 0, 16}, {FragmentedMft::kSecondFragment, 16, 16}}))
        << "record 99 lies in the second fragment, which only record 15 describes: it is never reached";
    EXPECT_EQ(info.sectorsPerCluster, 8);

    // A file in the second fragment is found by the build.
    f.v.device().Write(f.SectorOf(100), test::UserRecord(100, {.name = u"far away.txt"}).Build());
    CNTFSTreeBuilder builder(0);
    TreeOwner<CFileSystemNode> root(builder.BuildTree(0, &f.v.device(), nullptr));
    ASSERT_TRUE(root);
    ASSERT_TRUE(root->GetFirstChild());
    EXPECT_STREQ(root->GetFirstChild()->GetProperties()->GetName(), "far away.txt");
}

TEST(LocateMft, ExtensionRecordOfAnotherFileAddsNoRuns) {
    FragmentedMft f(Ref(40));
    CMFTInfo info;
    ASSERT_TRUE(Locate(f.v, info));
    EXPECT_EQ(info.runs, (std::vector<NtfsRun>{{16, 0, 16}}));
}

TEST(MftMap, PlacesRecordsThroughRunsInAnyOrder) {
    // 512-byte clusters, 1024-byte records: records 0-65 at cluster 100, the rest at 900.
    const NtfsGeometry g{0, 1, 1024};
    const std::vector<NtfsRun> ordered = {{100, 0, 132}, {-1, 132, 4}, {900, 136, 200}};
    const std::vector<NtfsRun> shuffled = {{900, 136, 200}, {100, 0, 132}, {-1, 132, 4}};
    for (const auto& runs : {ordered, shuffled}) {
        const MftMap mft(g, runs);
        EXPECT_EQ(mft.RecordSector(0), 100);
        EXPECT_EQ(mft.RecordSector(65), 230);
        EXPECT_EQ(mft.RecordSector(66), -1) << "sparse";
        EXPECT_EQ(mft.RecordSector(68), 900);
        EXPECT_EQ(mft.RecordSector(167), 1098);
        EXPECT_EQ(mft.RecordSector(168), -1);
        EXPECT_EQ(mft.RecordSector(-1), -1);
    }
}

TEST(ClusterSizeFor, RoundsUpToAPowerOfTwo) {
    EXPECT_EQ(ClusterSizeFor(65536, 16), 8);
    EXPECT_EQ(ClusterSizeFor(65536 - 100, 16), 8);
    EXPECT_EQ(ClusterSizeFor(3 * 512, 1), 4);
    EXPECT_EQ(ClusterSizeFor(1, 1), 1);
    EXPECT_EQ(ClusterSizeFor(129 * 512, 1), 0);
    EXPECT_EQ(ClusterSizeFor(0, 1), 0);
    EXPECT_EQ(ClusterSizeFor(100, 0), 0);
}

}  // namespace
}  // namespace keldrin::ntfs
