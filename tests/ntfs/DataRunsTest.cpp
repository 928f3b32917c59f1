#include <gtest/gtest.h>

#include "engine/model/Extent.h"
#include "engine/ntfs/DataRuns.h"
#include "tests/ntfs/NtfsBuilders.h"

namespace keldrin::ntfs {
namespace {

using test::Bytes;
using test::NonResidentSpec;
using test::RecordBuilder;

Bytes Pairs(const std::vector<Extent>& extents) {
    return EncodeMappingPairs(extents);
}

// A non-resident $DATA piece covering clusters [first, first + sum of lengths).
Bytes DataPiece(const std::vector<Extent>& extents, int64_t firstVcn, int64_t dataSize = 0,
                uint16_t flags = 0, std::u16string_view name = u"") {
    int64_t clusters = 0;
    for (const Extent& e : extents) clusters += static_cast<int64_t>(e.length);
    return test::NonResidentAttribute(0x80, {.pairs = Pairs(extents),
                                             .firstVcn = firstVcn,
                                             .lastVcn = firstVcn + clusters - 1,
                                             .allocatedSize = clusters * 4096,
                                             .dataSize = dataSize,
                                             .initializedSize = dataSize,
                                             .flags = flags,
                                             .name = name});
}

FileRecord Record(RecordBuilder& b) {
    const Bytes bytes = b.Build();
    return FileRecord(std::span<const uint8_t>(bytes));
}

TEST(DataRuns, PiecesAreJoinedInVcnOrderAndNamedStreamsSkipped) {
    RecordBuilder b;
    b.Add(test::ResidentAttribute(0x80, Bytes(10), u"Zone.Identifier"))
        .Add(DataPiece({{900, 4}}, 6))
        .Add(DataPiece({{100, 2}, {kSparseStart, 4}}, 0, 40000));
    const FileRecord r = Record(b);
    DataRuns data;
    ASSERT_TRUE(ReadDataRuns(r, data));
    const std::vector<NtfsRun> expected = {{100, 0, 2}, {kSparseLcn, 2, 4}, {900, 6, 4}};
    EXPECT_EQ(data.runs, expected);
    EXPECT_EQ(data.size, 40000);
}

TEST(DataRuns, WalkStopsAtAPieceItCannotTrust) {
    struct Case {
        const char* what;
        Bytes second;
        size_t runs;
    } cases[] = {
        {"resident", test::ResidentAttribute(0x80, Bytes(5)), 1},
        {"last VCN disagrees with the runs",
         test::NonResidentAttribute(0x80, {.pairs = Pairs({{500, 3}}), .firstVcn = 2, .lastVcn = 9}), 1},
        {"compressed pieces need not agree",
         test::NonResidentAttribute(0x80,
                                    {.pairs = Pairs({{500, 3}}), .firstVcn = 2, .lastVcn = 9, .flags = 1}),
         3},
        {"no clusters", test::NonResidentAttribute(0x80, {.pairs = {0x00}, .firstVcn = 2, .lastVcn = 1}), 1},
    };
    for (const Case& c : cases) {
        RecordBuilder b;
        b.Add(DataPiece({{100, 2}}, 0, 8192)).Add(c.second).Add(DataPiece({{700, 1}}, 20));
        DataRuns data;
        ASSERT_TRUE(ReadDataRuns(Record(b), data)) << c.what;
        EXPECT_EQ(data.runs.size(), c.runs) << c.what;
        EXPECT_EQ(data.size, 8192) << c.what;
    }
    RecordBuilder residentFirst;
    residentFirst.Add(test::ResidentAttribute(0x80, Bytes(5)));
    DataRuns data;
    EXPECT_FALSE(ReadDataRuns(Record(residentFirst), data));
}

TEST(DataRuns, ResidentValueLocation) {
    RecordBuilder b;
    b.AddStandardInformation(0).Add(test::ResidentAttribute(0x80, Bytes(3), u"ads"));
    const size_t at = b.NextOffset();
    b.Add(test::ResidentAttribute(0x80, Bytes{'a', 'b', 'c', 'd', 'e'}));
    const FileRecord r = Record(b);
    ResidentData where;
    ASSERT_TRUE(FindResidentData(r, where));
    EXPECT_EQ(where.offset, at + 24);
    EXPECT_EQ(where.length, 5u);
    EXPECT_EQ(where.recordSector, -1);
    EXPECT_EQ(r.Bytes()[where.offset], 'a');

    RecordBuilder nonResident;
    nonResident.Add(DataPiece({{100, 2}}, 0, 8192));
    EXPECT_FALSE(FindResidentData(Record(nonResident), where));
}

TEST(DataRuns, ClusterSizeFromRecordRoundsUpToAPowerOfTwo) {
    struct Case {
        int64_t size;
        uint64_t clusters;
        uint32_t sectorsPerCluster;
    } cases[] = {
        {512 * 10, 10, 1},   {1024 * 10, 10, 2},       {1536 * 10, 10, 4},
        {2048 * 10, 10, 4},  {4096 * 64 - 100, 64, 8}, {4097 * 10, 10, 16},
        {65536 * 4, 4, 128}, {65536 * 4 + 4, 4, 0},    {1, 10, 1},
        {0, 10, 0},
    };
    for (const Case& c : cases) {
        RecordBuilder b;
        b.Add(DataPiece({{40, c.clusters}}, 0, c.size));
        EXPECT_EQ(ClusterSizeFromRecord(Record(b)), c.sectorsPerCluster) << c.size << " / " << c.clusters;
    }
    RecordBuilder resident;
    resident.Add(test::ResidentAttribute(0x80, Bytes(100)));
    EXPECT_EQ(ClusterSizeFromRecord(Record(resident)), 0u);
}

}  // namespace
}  // namespace keldrin::ntfs
