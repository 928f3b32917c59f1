#include <gtest/gtest.h>

#include "TestTree.h"
#include "engine/model/CheckStates.h"
#include "engine/model/FileTree.h"
#include "engine/model/NTFSFileProperties.h"
#include "engine/model/SmallBlockPool.h"

namespace keldrin {
namespace {

using test::AddFile;
using test::AddFolder;
using test::AddVolume;
using test::CheckOf;
using test::CountedProperties;

TEST(DeleteTree, FreesEveryNodeAndItsProperties) {
    const size_t blocksBefore = TreePool().LiveBlocks();
    const int propertiesBefore = CountedProperties::alive;
    CFileSystemNode* root = CreateRootNode();
    CFileSystemNode* volume = AddVolume(root);
    volume->SetDisplayName("Volume");
    for (int i = 0; i < 3; ++i) {
        CFileNode* folder = AddFolder(volume);
        for (int j = 0; j < 4; ++j) AddFile(folder, j);
    }
    NTFSPropertiesRecord record;
    record.name = "pooled.bin";
    record.storedRuns = StoredRunList::FromExtents({{10, 1}});
    CFileNode* ntfs = CreateFileNode();
    ntfs->SetProperties(CNTFSFileProperties::InitFromRecord(record).release());
    volume->AddChild(ntfs);
    EXPECT_EQ(CountedProperties::alive, propertiesBefore + 16);

    DeleteTree(root);
    EXPECT_EQ(CountedProperties::alive, propertiesBefore);
    EXPECT_EQ(TreePool().LiveBlocks(), blocksBefore);
    DeleteTree(nullptr);
}

TEST(DeleteTree, ASubtreeIsUnlinkedFromItsParentFirst) {
    TreeOwner<> top(AddFolder(nullptr));
    CFileNode* keep = AddFile(top.get(), 1);
    CFileNode* drop = AddFolder(top.get());
    AddFile(drop, 2);
    DeleteTree(drop);
    EXPECT_EQ(top->GetFirstChild(), keep);
    EXPECT_EQ(keep->GetNextSibling(), nullptr);
}

TEST(DeleteTree, NodesOnlyLeavesSharedPropertiesAlone) {
    TreeOwner<> source(AddFolder(nullptr));
    CFileNode* file = AddFile(source.get(), 5);
    const int alive = CountedProperties::alive;
    // A filtered copy: new nodes sharing the source's properties.
    CFileNode* copy = CreateFileNode();
    copy->SetProperties(source->GetProperties());
    CFileNode* copiedFile = CreateFileNode();
    copiedFile->SetProperties(file->GetProperties());
    copy->AddChild(copiedFile);
    DeleteTreeNodes(copy);
    EXPECT_EQ(CountedProperties::alive, alive);
    EXPECT_EQ(file->GetProperties()->GetFileSize(), 5u);
}

// Hostile volumes give folder chains millions deep; every walk must get through without recursion.
TEST(DeepTree, MillionLevelChainIsWalkedAndDeleted) {
    constexpr int kDepth = 1000000;
    const size_t blocksBefore = TreePool().LiveBlocks();
    const int propertiesBefore = CountedProperties::alive;
    CFileSystemNode* root = CreateRootNode();
    CFileSystemNode* volume = AddVolume(root);
    CFileNode* bottom = volume;
    for (int i = 0; i < kDepth; ++i) bottom = AddFolder(bottom);
    CFileNode* leaf = AddFile(bottom, 7);

    EXPECT_EQ(leaf->GetFileSystemType(), kFsNtfs);
    root->RecomputeStatistics();
    EXPECT_EQ(root->GetStatistics().files, 1u);
    EXPECT_EQ(root->GetStatistics().totalSize, 7u);

    root->ToggleCheck(leaf, false);  // the states climb a million folders
    EXPECT_EQ(CheckOf(root), kChecked);
    EXPECT_EQ(volume->GetStatistics().checkedFiles, 1u);
    root->ToggleCheck(root, false);  // and come down again
    EXPECT_EQ(CheckOf(leaf), kUnchecked);
    EXPECT_EQ(root->GetStatistics().checkedFiles, 0u);

    leaf->GetProperties()->SetCheckState(kChecked);
    root->RefreshChecks();
    EXPECT_EQ(CheckOf(volume), kChecked);
    EXPECT_EQ(root->GetStatistics().checkedSize, 7u);

    DeleteTree(root);
    EXPECT_EQ(CountedProperties::alive, propertiesBefore);
    EXPECT_EQ(TreePool().LiveBlocks(), blocksBefore);
}

}  // namespace
}  // namespace keldrin
