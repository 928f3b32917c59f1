#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "engine/fat/FATFileProperties.h"
#include "engine/fat/FATTable.h"
#include "engine/fat/FATTreeBuilder.h"
#include "engine/model/FileTree.h"

namespace keldrin::fat {
namespace {

struct MapFat final : IFATTable {
    std::map<uint32_t, uint32_t> entries;
    uint32_t GetEntry(uint32_t n) const override {
        auto it = entries.find(n);
        return it == entries.end() ? 0 : it->second;
    }
};

FatLayout Layout(int64_t totalSectors = 4000, uint32_t spc = 1) {
    FatLayout layout;
    layout.type = kFsFat16;
    layout.sectorsPerCluster = spc;
    layout.dataStart = 100;
    layout.totalSectors = totalSectors;
    return layout;
}

std::vector<Extent> Runs(const std::optional<FatRunBuilder>& runs) {
    return runs ? runs->Runs() : std::vector<Extent>{};
}

TEST(FatFolderClaims, DecisionTable) {
    auto make = [](uint8_t state, uint64_t modified) {
        CFATFileProperties p("dir", 0, 0x10);
        p.SetState(state);
        p.SetTimes(0, modified, 0);
        return p;
    };
    struct Case {
        const char* what;
        uint8_t existing;
        uint8_t candidate;
        uint64_t existingTime, candidateTime;
        int sign;  // 0 means exactly 0
    };
    const Case cases[] = {
        {"temp against temp", kStateTemp, kStateTemp, 0, 0, 0},
        {"temp against live", kStateTemp, 0, 0, 0, -1},
        {"temp against deleted", kStateTemp, kStateDeleted, 0, 0, -1},
        {"deleted against temp", kStateDeleted, kStateTemp, 0, 0, 1},
        {"deleted against a newer deleted", kStateDeleted, kStateDeleted, 10, 20, -1},
        {"deleted against an older deleted", kStateDeleted, kStateDeleted, 20, 10, 1},
        {"deleted against an equal deleted", kStateDeleted, kStateDeleted, 10, 10, 1},
        {"deleted against live", kStateDeleted, 0, 0, 0, -1},
        {"live against deleted", 0, kStateDeleted, 0, 0, 1},
        {"live against temp", 0, kStateTemp, 0, 0, 1},
        {"live against live", 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const int r =
            CompareFolderClaims(make(c.existing, c.existingTime), make(c.candidate, c.candidateTime));
        const int sign = r < 0 ? -1 : (r > 0 ? 1 : 0);
        EXPECT_EQ(sign, c.sign) << c.what;
    }
}

TEST(FatBuildDataRunList, ChainsAndGuesses) {
    MapFat fat;
    fat.entries = {{5, 6},   {6, 0xFFFFFFFF}, {20, 24},          {24, 0x0FFFFFF8},  {11, 0xFFFFFFFF},
                   {40, 41}, {41, 50},        {100, 0xFFFFFFFF}, {101, 0xFFFFFFFF}, {102, 0xFFFFFFFF}};
    CFATTreeBuilder builder(nullptr, nullptr, Layout(), &fat, 0);
    const uint64_t cluster = 512;
    // The last run covers the rest of the size whatever the chain says.
    EXPECT_EQ(Runs(builder.BuildDataRunList(5, 3 * cluster, false)), (std::vector<Extent>{{3, 3}}));
    EXPECT_EQ(Runs(builder.BuildDataRunList(20, 2 * cluster, false)),
              (std::vector<Extent>{{18, 1}, {22, 1}}));
    // A chain piece that already covers the size ends the walk.
    EXPECT_EQ(Runs(builder.BuildDataRunList(40, 2 * cluster, false)), (std::vector<Extent>{{38, 2}}));
    // Deleted files are guessed contiguously, passing over clusters that end a chain.
    EXPECT_EQ(Runs(builder.BuildDataRunList(10, 3 * cluster, true)), (std::vector<Extent>{{8, 1}, {10, 2}}));
    EXPECT_EQ(Runs(builder.BuildDataRunList(99, 3 * cluster, true)),
              (std::vector<Extent>{{97, 1}, {101, 2}}));
    // A guess stops at the end of the volume.
    EXPECT_EQ(Runs(builder.BuildDataRunList(3990, 50 * cluster, true)), (std::vector<Extent>{{3988, 12}}));
    // An empty file has no extents but is no failure; a file with data and no cluster is.
    ASSERT_TRUE(builder.BuildDataRunList(0, 0, false));
    EXPECT_TRUE(builder.BuildDataRunList(0, 0, true)->Empty());
    EXPECT_FALSE(builder.BuildDataRunList(0, 100, false));
    EXPECT_FALSE(builder.BuildDataRunList(1, 100, true));
    // Extents past the end of the volume drop the file.
    EXPECT_FALSE(builder.BuildDataRunList(3990, 20 * cluster, false));
    // The clusters of listed files are marked.
    EXPECT_TRUE(builder.GetClusterUseBits()[3]);
    EXPECT_TRUE(builder.GetClusterUseBits()[10]);
    EXPECT_FALSE(builder.GetClusterUseBits()[9]);
}

TEST(FatBuildDataRunList, WithoutAFatFilesAreContiguous) {
    CDoubleFATTable none(nullptr, nullptr);
    CFATTreeBuilder builder(nullptr, nullptr, Layout(4000, 4), &none, 0);
    EXPECT_EQ(Runs(builder.BuildDataRunList(7, 5000, false)), (std::vector<Extent>{{5, 3}}));
    EXPECT_EQ(Runs(builder.BuildDataRunList(7, 5000, true)), (std::vector<Extent>{{5, 3}}));
}

TEST(FatBuildDataRunList, LoopingChainEnds) {
    MapFat fat;
    fat.entries = {{5, 6}, {6, 5}};
    CFATTreeBuilder builder(nullptr, nullptr, Layout(), &fat, 0);
    // A 4 GiB size would take millions of turns round the loop; the walk stops after the
    // volume's cluster count and the file is then sized from where it stands.
    const auto runs = builder.BuildDataRunList(5, 0xFFFFFFFFull, false);
    if (runs) {
        EXPECT_LE(runs->Runs().size(), builder.GetClusterCount() + 1);
    }
}

TEST(FatRemoveEmptyDeletedFolders, OnePass) {
    auto folder = [](const char* name, uint8_t state) {
        CFileNode* node = CreateFileNode();
        auto p = std::make_unique<CFATFileProperties>(name, 0, 0x10);
        p->SetState(state);
        node->SetProperties(p.release());
        return node;
    };
    TreeOwner<CFileNode> root(folder("root", 0));
    CFileNode* outer = folder("outer", kStateDeleted);
    CFileNode* inner = folder("inner", kStateDeleted);
    CFileNode* live = folder("live", 0);
    root->AddChild(outer);
    outer->AddChild(inner);
    root->AddChild(live);
    RemoveEmptyDeletedFolders(root.get());
    EXPECT_EQ(outer->GetParent(), root.get());  // it became empty only by the pass
    EXPECT_EQ(outer->GetFirstChild(), nullptr);
    EXPECT_EQ(live->GetParent(), root.get());
}

}  // namespace
}  // namespace keldrin::fat
