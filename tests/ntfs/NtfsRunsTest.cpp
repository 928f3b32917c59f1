#include <gtest/gtest.h>

#include "engine/ntfs/NtfsRuns.h"
#include "tests/ntfs/NtfsBuilders.h"

namespace keldrin::ntfs {
namespace {

using test::Bytes;

TEST(NtfsRuns, DecodesLengthsDeltasAndSparseRuns) {
    struct Case {
        const char* what;
        Bytes pairs;
        int64_t firstVcn;
        std::vector<NtfsRun> runs;
    } cases[] = {
        {"one run", {0x11, 0x30, 0x20, 0x00}, 0, {{0x20, 0, 0x30}}},
        {"second run behind the first",
         {0x21, 0x10, 0x00, 0x01, 0x11, 0x08, 0x10, 0x00},
         0,
         {{0x100, 0, 0x10}, {0x110, 0x10, 0x08}}},
        {"negative delta", {0x11, 0x04, 0x40, 0x11, 0x04, 0xF0, 0x00}, 0, {{0x40, 0, 4}, {0x30, 4, 4}}},
        {"3-byte 0x800000 is -8,388,608",
         {0x41, 0x01, 0x00, 0x00, 0x00, 0x01, 0x31, 0x01, 0x00, 0x00, 0x80, 0x00},
         0,
         {{0x1000000, 0, 1}, {0x1000000 - 8388608, 1, 1}}},
        {"sparse keeps the previous cluster",
         {0x11, 0x02, 0x50, 0x01, 0x05, 0x11, 0x01, 0x01, 0x00},
         0,
         {{0x50, 0, 2}, {kSparseLcn, 2, 5}, {0x51, 7, 1}}},
        {"numbered from the first VCN", {0x11, 0x02, 0x50, 0x00}, 300, {{0x50, 300, 2}}},
        {"4-byte length", {0x14, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x00}, 0, {{1, 0, 0xFFFFFFFFll}}},
        {"empty list", {0x00}, 0, {}},
    };
    for (const Case& c : cases) {
        std::vector<NtfsRun> runs;
        EXPECT_TRUE(IsValidMappingPairs(c.pairs)) << c.what;
        ASSERT_TRUE(DecodeMappingPairs(c.pairs, runs, c.firstVcn)) << c.what;
        EXPECT_EQ(runs, c.runs) << c.what;
        EXPECT_EQ(SumRunLengths(c.pairs), TotalClusters(c.runs)) << c.what;
    }
}

TEST(NtfsRuns, InvalidPairsAreRefusedAndDecodeNothing) {
    struct Case {
        const char* what;
        Bytes pairs;
    } cases[] = {
        {"5-byte offset field", {0x51, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {"5-byte length field", {0x15, 0x01, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00}},
        {"no terminator", {0x11, 0x01, 0x01}},
        {"run fills the bytes with no room for the terminator", {0x11, 0x01, 0x01, 0x11, 0x01}},
        {"no length field", {0x10, 0x05, 0x00}},
        {"zero length", {0x11, 0x00, 0x05, 0x00}},
        {"cluster below zero", {0x11, 0x01, 0xFF, 0x00}},
        {"nothing at all", {}},
    };
    for (const Case& c : cases) {
        std::vector<NtfsRun> runs = {{7, 0, 1}};
        EXPECT_FALSE(IsValidMappingPairs(c.pairs)) << c.what;
        EXPECT_FALSE(DecodeMappingPairs(c.pairs, runs)) << c.what;
        EXPECT_EQ(runs.size(), 1u) << c.what;
        EXPECT_EQ(SumRunLengths(c.pairs), 0) << c.what;
    }
    std::vector<NtfsRun> runs;
    const Bytes ok = {0x11, 0x01, 0x01, 0x00};
    EXPECT_FALSE(DecodeMappingPairs(ok, runs, -1)) << "negative first VCN";
    EXPECT_FALSE(DecodeMappingPairs(ok, runs, INT64_MAX)) << "VCN past 63 bits";
}

TEST(NtfsRuns, ClusterLookupsBothWays) {
    const std::vector<NtfsRun> runs = {{100, 0, 10}, {kSparseLcn, 10, 5}, {50, 15, 5}};
    struct Case {
        int64_t vcn;
        int64_t lcn;
    } vcnCases[] = {{0, 100}, {9, 109}, {10, -1}, {14, -1}, {15, 50}, {19, 54}, {20, -1}, {-1, -1}};
    for (const Case& c : vcnCases) EXPECT_EQ(VcnToLcn(runs, c.vcn), c.lcn) << c.vcn;
    Case lcnCases[] = {{0, 100}, {9, 109}, {15, 50}, {19, 54}, {-1, 99}, {-1, 110}, {-1, -1}};
    for (const Case& c : lcnCases) EXPECT_EQ(LcnToVcn(runs, c.lcn), c.vcn) << c.lcn;
    EXPECT_EQ(TotalClusters(runs), 20);
    EXPECT_EQ(TotalClusters({}), 0);
}

}  // namespace
}  // namespace keldrin::ntfs
