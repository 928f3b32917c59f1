#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SearchTestSupport.h"
#include "TestTree.h"
#include "engine/model/FileTree.h"
#include "engine/model/FilteredTreeBuilder.h"

namespace keldrin {
namespace {

using test::AddNamedFile;
using test::AddNamedFolder;
using test::ChildNames;
using test::NameOf;

// volume "C:" (NTFS at sector 2048)
//  ├ docs:  a (deleted), b (intact), c (lost)      source order a, b, c
//  ├ kept:  x/y/z/deep (cross link) below folders
//  ├ intact: only intact files
//  ├ empty: no children
//  └ top (deleted), top2 (intact)
class FilteredCopy : public ::testing::Test {
  protected:
    void SetUp() override {
        volume.reset(CreateFileSystemNode());
        volume->SetProperties(
            new CMyFileProperties(test::RecordOf({.name = "C:", .attributes = kAttrFolder})));
        volume->SetVolumeLocation(2048, 8);
        volume->SetFileSystemType(kFsNtfs);
        volume->SetDisplayName("Local Disk (C:) NTFS 931.51 GB, a long display name");
        AddNamedFile(volume.get(), "top2");
        AddNamedFile(volume.get(), "top", kStateDeleted);
        AddNamedFolder(volume.get(), "empty");
        CFileNode* intact = AddNamedFolder(volume.get(), "intact");
        AddNamedFile(intact, "i1");
        AddNamedFile(intact, "i2", kStateTemp);
        CFileNode* kept = AddNamedFolder(volume.get(), "kept");
        CFileNode* x = AddNamedFolder(kept, "x");
        AddNamedFolder(x, "x-empty");
        CFileNode* y = AddNamedFolder(x, "y");
        CFileNode* z = AddNamedFolder(y, "z");
        AddNamedFile(z, "deep", kStateCrossLink);
        CFileNode* docs = AddNamedFolder(volume.get(), "docs");
        AddNamedFile(docs, "c", kStateLost);
        AddNamedFile(docs, "b");
        AddNamedFile(docs, "a", kStateDeleted);
    }

    static CFileNode* Child(const CFileNode* node, const std::string& name) {
        for (CFileNode* c = node->GetFirstChild(); c; c = c->GetNextSibling())
            if (NameOf(c) == name) return c;
        return nullptr;
    }

    TreeOwner<CFileSystemNode> volume;
    CFileStateFilter deletedOrLost{kStateDeleted | kStateLost | kStateCrossLink};
};

TEST_F(FilteredCopy, KeepsAcceptedFilesWithTheirFoldersInReverseOrder) {
    ASSERT_EQ(ChildNames(volume.get()),
              (std::vector<std::string>{"docs", "kept", "intact", "empty", "top", "top2"}));
    CFilteredTreeBuilder builder(&deletedOrLost);
    FilteredCopyOwner copy(builder.Build(volume.get()));
    ASSERT_TRUE(copy);

    // Every level reversed; "intact" (only rejected files) and "empty" are gone.
    EXPECT_EQ(ChildNames(copy.get()), (std::vector<std::string>{"top", "kept", "docs"}));
    CFileNode* docs = Child(copy.get(), "docs");
    EXPECT_EQ(ChildNames(docs), (std::vector<std::string>{"c", "a"}));
    // The whole chain down to the one accepted file, without the empty folder beside it.
    CFileNode* x = Child(Child(copy.get(), "kept"), "x");
    EXPECT_EQ(ChildNames(x), (std::vector<std::string>{"y"}));
    EXPECT_EQ(ChildNames(Child(Child(x, "y"), "z")), (std::vector<std::string>{"deep"}));

    // The copy's nodes share the source's properties.
    CFileNode* sourceDocs = Child(volume.get(), "docs");
    EXPECT_EQ(docs->GetProperties(), sourceDocs->GetProperties());
    EXPECT_EQ(Child(docs, "a")->GetProperties(), Child(sourceDocs, "a")->GetProperties());
    EXPECT_NE(Child(docs, "a"), Child(sourceDocs, "a"));
}

TEST_F(FilteredCopy, RootTakesTheSourcesNameVolumeAndType) {
    CFilteredTreeBuilder builder(&deletedOrLost);
    FilteredCopyOwner copy(builder.Build(volume.get()));
    ASSERT_TRUE(copy);
    const IFileProperties* p = copy->GetProperties();
    ASSERT_NE(p, volume->GetProperties());  // the root's own properties
    EXPECT_STREQ(p->GetName(), "C:");
    EXPECT_EQ(p->GetAttributes(), kAttrFolder);
    EXPECT_EQ(p->GetTypeCode(), kTypeCodeRaw);
    EXPECT_EQ(p->GetFileSize(), 0u);
    EXPECT_STREQ(copy->GetDisplayName(), "Local Disk (C:) NTFS 931.51 GB, a long d");
    EXPECT_EQ(copy->GetVolumeLocation(), (VolumeLocation{2048, 8}));
    EXPECT_EQ(copy->GetFileSystemType(), kFsNtfs);
    const VolumeInfo info = copy->GetVolumeInfo();
    EXPECT_EQ(info.value, 0u);
    EXPECT_EQ(info.kind, kVolumeInfoFiltered);
    for (uint8_t byte : info.data) ASSERT_EQ(byte, 0);
}

TEST_F(FilteredCopy, SourceWithoutPropertiesKeepsTheRootsOwnName) {
    TreeOwner<CFileSystemNode> bare(CreateFileSystemNode());
    AddNamedFile(bare.get(), "gone", kStateDeleted);
    CFilteredTreeBuilder builder(&deletedOrLost);
    FilteredCopyOwner copy(builder.Build(bare.get()));
    ASSERT_TRUE(copy);
    EXPECT_STREQ(copy->GetProperties()->GetName(), "Deleted Files");
    EXPECT_EQ(copy->GetVolumeLocation(), (VolumeLocation{0, 0}));  // the source's
    EXPECT_EQ(copy->GetFileSystemType(), kFsUnknown);
    EXPECT_EQ(ChildNames(copy.get()), (std::vector<std::string>{"gone"}));
}

TEST_F(FilteredCopy, RefusesNullArgumentsAndASecondBuild) {
    CFilteredTreeBuilder noFilter(nullptr);
    EXPECT_EQ(noFilter.Build(volume.get()), nullptr);
    CFilteredTreeBuilder builder(&deletedOrLost);
    EXPECT_EQ(builder.Build(nullptr), nullptr);
    FilteredCopyOwner copy(builder.Build(volume.get()));
    EXPECT_TRUE(copy);
    EXPECT_EQ(builder.Build(volume.get()), nullptr);  // the root was handed over
    // A builder that never handed its root over frees it (the leak checker watches).
    CFilteredTreeBuilder unused(&deletedOrLost);
}

// Passes everything: every file of the source is in the copy.
class AcceptAll final : public IFileFilter {
  public:
    bool Accept(const IFileProperties*) const override { return true; }
};

TEST(FilteredCopyOwnership, DeletingTheCopyLeavesTheSourcesProperties) {
    const int before = test::CountedProperties::alive;
    TreeOwner<CFileSystemNode> source(CreateRootNode());
    CFileNode* folder = test::AddFolder(source.get());
    test::AddFile(folder, 10);
    test::AddFile(source.get(), 20);
    const int alive = test::CountedProperties::alive;

    AcceptAll all;
    CFilteredTreeBuilder builder(&all);
    CFileSystemNode* copy = builder.Build(source.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(ChildNames(copy).size(), 2u);
    DeleteFilteredCopy(copy);
    EXPECT_EQ(test::CountedProperties::alive, alive);
    source.reset();
    EXPECT_EQ(test::CountedProperties::alive, before);
    DeleteFilteredCopy(nullptr);
}

TEST(FilteredCopyShape, NodeWithChildrenIsCopiedAsAFolderWithoutBeingTested) {
    // A file that has children (as some readers hang streams under files) is not tested itself.
    TreeOwner<CFileSystemNode> source(CreateFileSystemNode());
    CFileNode* owner = AddNamedFile(source.get(), "owner");  // intact, not a folder
    AddNamedFile(owner, "stream", kStateDeleted);
    CFileNode* lonely = AddNamedFile(source.get(), "holder");
    AddNamedFile(lonely, "intact-stream");
    CFileStateFilter filter(kStateDeleted);
    CFilteredTreeBuilder builder(&filter);
    FilteredCopyOwner copy(builder.Build(source.get()));
    ASSERT_TRUE(copy);
    EXPECT_EQ(ChildNames(copy.get()), (std::vector<std::string>{"owner"}));
    EXPECT_EQ(ChildNames(copy->GetFirstChild()), (std::vector<std::string>{"stream"}));
}

TEST(FilteredCopyShape, CopiesAChainFarDeeperThanTheStack) {
    constexpr int kDepth = 200000;
    TreeOwner<CFileSystemNode> source(CreateFileSystemNode());
    CFileNode* node = source.get();
    for (int i = 0; i < kDepth; ++i) node = AddNamedFolder(node, "d");
    AddNamedFile(node, "bottom", kStateDeleted);
    CFileStateFilter filter(kStateDeleted);
    CFilteredTreeBuilder builder(&filter);
    FilteredCopyOwner copy(builder.Build(source.get()));
    ASSERT_TRUE(copy);
    int depth = 0;
    const CFileNode* n = copy.get();
    while (n->GetFirstChild()) {
        n = n->GetFirstChild();
        ++depth;
    }
    EXPECT_EQ(depth, kDepth + 1);
    EXPECT_EQ(NameOf(n), "bottom");
}

}  // namespace
}  // namespace keldrin
