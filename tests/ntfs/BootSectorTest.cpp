#include <gtest/gtest.h>

#include <functional>

#include "engine/ntfs/BootSector.h"
#include "engine/ntfs/NtfsGeometry.h"
#include "tests/ntfs/NtfsBuilders.h"

namespace keldrin::ntfs {
namespace {

using test::BootSpec;
using test::Bytes;

TEST(BootSector, FieldsOfAValidSectorUseAll64Bits) {
    BootSpec spec;
    spec.totalSectors = 0x123456789ull;  // past 2 TiB: the high bits must survive
    spec.mftCluster = 0x100000004ull;
    spec.mftMirrCluster = 0x200000002ull;
    const Bytes bytes = test::BootSector(spec);
    ASSERT_TRUE(IsValidNtfsBootSector(bytes));
    const CNTFSDBR boot(bytes);
    EXPECT_TRUE(boot.IsValid());
    EXPECT_EQ(GetTotalSectors(boot), 0x123456789ll);
    EXPECT_EQ(GetMftCluster(boot), 0x100000004ll);
    EXPECT_EQ(GetMftMirrCluster(boot), 0x200000002ll);
    EXPECT_EQ(GetSectorsPerCluster(boot), 8u);
    EXPECT_EQ(GetVolumeSerial(boot), 0x1122334455667788ull);
    EXPECT_EQ(GetOemId(boot), "NTFS    ");
}

TEST(BootSector, EachRuleRejectsOnItsOwn) {
    struct Case {
        const char* what;
        std::function<void(Bytes&)> spoil;
    } cases[] = {
        {"4096 bytes per sector", [](Bytes& b) { test::Put16(b, 11, 4096); }},
        {"3 sectors per cluster", [](Bytes& b) { b[13] = 3; }},
        {"0 sectors per cluster", [](Bytes& b) { b[13] = 0; }},
        {"reserved sectors", [](Bytes& b) { test::Put16(b, 14, 1); }},
        {"number of FATs", [](Bytes& b) { b[16] = 2; }},
        {"root entries", [](Bytes& b) { test::Put16(b, 17, 512); }},
        {"16-bit total", [](Bytes& b) { test::Put16(b, 19, 100); }},
        {"sectors per FAT", [](Bytes& b) { test::Put16(b, 22, 9); }},
        {"32-bit total", [](Bytes& b) { test::Put32(b, 32, 100); }},
        {"signature", [](Bytes& b) { b[511] = 0xAB; }},
        {"OEM", [](Bytes& b) { std::copy_n("MSDOS5.0", 8, b.begin() + 3); }},
        {"short buffer", [](Bytes& b) { b.resize(511); }},
    };
    for (const Case& c : cases) {
        Bytes b = test::BootSector({});
        c.spoil(b);
        EXPECT_FALSE(IsValidNtfsBootSector(b)) << c.what;
    }
    BootSpec lower;
    lower.oem = "ntfs    ";
    EXPECT_TRUE(IsValidNtfsBootSector(test::BootSector(lower))) << "the OEM test ignores case";
}

TEST(BootSector, FileRecordSizeFromClustersPerRecord) {
    struct Case {
        int8_t clustersPerRecord;
        uint8_t sectorsPerCluster;
        uint32_t bytes;
    } cases[] = {
        {-10, 8, 1024}, {1, 8, 4096}, {0, 8, 1024},       {-12, 1, 4096},
        {2, 1, 1024},   {-128, 8, 0}, {-31, 8, 1u << 31},
    };
    for (const Case& c : cases) {
        BootSpec spec;
        spec.clustersPerRecord = c.clustersPerRecord;
        spec.sectorsPerCluster = c.sectorsPerCluster;
        EXPECT_EQ(GetFileRecordSize(CNTFSDBR(test::BootSector(spec))), c.bytes) << int{c.clustersPerRecord};
    }
}

TEST(BootSector, GeometryRefusesRecordSizesThatCannotBeRead) {
    NtfsGeometry g;
    BootSpec spec;
    spec.clustersPerRecord = 1;
    ASSERT_TRUE(GeometryFromBootSector(CNTFSDBR(test::BootSector(spec)), 63, g));
    EXPECT_EQ(g.firstSector, 63);
    EXPECT_EQ(g.recordSize, 4096u);
    EXPECT_EQ(g.SectorsPerRecord(), 8u);
    for (int8_t bad : {int8_t{-8}, int8_t{-20}, int8_t{127}}) {  // 256 bytes, 1 MiB, 508 KiB
        spec.clustersPerRecord = bad;
        EXPECT_FALSE(GeometryFromBootSector(CNTFSDBR(test::BootSector(spec)), 0, g)) << int{bad};
    }
}

TEST(BootSector, ClusterArithmeticNeverOverflows) {
    const NtfsGeometry g{100, 8, 1024};
    int64_t sector = 0;
    ASSERT_TRUE(ClusterToSector(g, 5, sector));
    EXPECT_EQ(sector, 140);
    EXPECT_FALSE(ClusterToSector(g, -1, sector));
    EXPECT_FALSE(ClusterToSector(g, INT64_MAX / 4, sector));

    EXPECT_TRUE(SectorIsCluster(140, 100, 8, 5));
    EXPECT_FALSE(SectorIsCluster(141, 100, 8, 5));
    EXPECT_FALSE(SectorIsCluster(148, 100, 8, 5));
    EXPECT_FALSE(SectorIsCluster(60, 100, 8, -5));
}

}  // namespace
}  // namespace keldrin::ntfs
