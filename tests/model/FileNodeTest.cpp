#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestTree.h"
#include "engine/model/FileNode.h"
#include "engine/model/FileSystemNode.h"
#include "engine/model/FileTree.h"
#include "engine/model/MyFileProperties.h"

namespace keldrin {
namespace {

std::vector<CFileNode*> Children(const CFileNode* node) {
    std::vector<CFileNode*> out;
    for (CFileNode* c = node->GetFirstChild(); c; c = c->GetNextSibling()) out.push_back(c);
    return out;
}

TEST(FileNode, ChildrenAreInReverseOrderOfInsertion) {
    TreeOwner<> parent(CreateFileNode());
    CFileNode* a = CreateFileNode();
    CFileNode* b = CreateFileNode();
    CFileNode* c = CreateFileNode();
    for (CFileNode* n : {a, b, c}) EXPECT_TRUE(parent->AddChild(n));
    EXPECT_EQ(Children(parent.get()), (std::vector<CFileNode*>{c, b, a}));
    for (CFileNode* n : {a, b, c}) EXPECT_EQ(n->GetParent(), parent.get());
    EXPECT_FALSE(parent->AddChild(nullptr));
    EXPECT_FALSE(parent->AddChild(parent.get()));
}

TEST(FileNode, AddingANodeThatHangsElsewhereMovesIt) {
    TreeOwner<> from(CreateFileNode());
    TreeOwner<> to(CreateFileNode());
    CFileNode* a = CreateFileNode();
    CFileNode* b = CreateFileNode();
    CFileNode* c = CreateFileNode();
    for (CFileNode* n : {a, b, c}) from->AddChild(n);
    to->AddChild(b);  // from the middle of the list
    EXPECT_EQ(Children(from.get()), (std::vector<CFileNode*>{c, a}));
    EXPECT_EQ(Children(to.get()), (std::vector<CFileNode*>{b}));
    // Moving every first child, as builders move a temporary root's children.
    while (CFileNode* first = from->GetFirstChild()) to->AddChild(first);
    EXPECT_EQ(Children(to.get()), (std::vector<CFileNode*>{a, c, b}));
    EXPECT_EQ(from->GetFirstChild(), nullptr);

    c->Detach();
    EXPECT_EQ(c->GetParent(), nullptr);
    EXPECT_EQ(Children(to.get()), (std::vector<CFileNode*>{a, b}));
    DeleteTree(c);
}

TEST(FileNode, VolumeLocationAndTypeComeFromTheNearestFileSystemNode) {
    TreeOwner<CFileSystemNode> root(CreateRootNode());
    CFileSystemNode* volume = CreateFileSystemNode();
    root->AddChild(volume);
    volume->SetVolumeLocation(2048, 8);
    volume->SetFileSystemType(kFsFat32);
    CFileNode* folder = CreateFileNode();
    volume->AddChild(folder);
    CFileNode* file = CreateFileNode();
    folder->AddChild(file);

    EXPECT_EQ(file->GetFileSystemType(), kFsFat32);
    EXPECT_EQ(file->GetVolumeLocation(), (VolumeLocation{2048, 8}));
    EXPECT_EQ(volume->GetVolumeLocation(), (VolumeLocation{2048, 8}));
    EXPECT_EQ(root->GetFileSystemType(), kFsUnknown);
    EXPECT_EQ(root->GetVolumeLocation(), (VolumeLocation{0, 0}));

    TreeOwner<> loose(CreateFileNode());
    CFileNode* below = CreateFileNode();
    loose->AddChild(below);
    EXPECT_EQ(below->GetFileSystemType(), kFsUnknown);
    EXPECT_EQ(below->GetVolumeLocation(), (VolumeLocation{0, 0}));

    volume->SetFileSystemType(42);
    EXPECT_EQ(file->GetFileSystemType(), kFsUnknown);
}

TEST(FileSystemNode, StartsEmptyAndKeepsVolumeInfo) {
    TreeOwner<CFileSystemNode> volume(CreateFileSystemNode());
    EXPECT_EQ(volume->GetFileSystemType(), kFsUnknown);
    EXPECT_TRUE(volume->IsFileSystemNode());
    EXPECT_EQ(volume->GetStatistics(), SelectionStatistics{});
    EXPECT_STREQ(volume->GetDisplayName(), "");
    EXPECT_EQ(volume->GetProperties(), nullptr);
    VolumeInfo info = volume->GetVolumeInfo();
    EXPECT_EQ(info.kind, 0u);
    info.kind = kVolumeInfoFiltered;
    info.data[247] = 9;
    volume->SetVolumeInfo(info);
    EXPECT_EQ(volume->GetVolumeInfo().kind, kVolumeInfoFiltered);
    EXPECT_EQ(volume->GetVolumeInfo().data[247], 9);
}

TEST(FileSystemNode, DisplayNamesAreCutToFortyBytes) {
    struct Case {
        std::string name;
        std::string kept;
    } cases[] = {
        {"Data", "Data"},
        {std::string(60, 'L'), std::string(40, 'L')},
        {std::string(40, 'x'), std::string(40, 'x')},
        // Two-byte characters: 38 bytes of a and then "é" at bytes 39-40 fit; "éé" from byte 39 does not.
        {std::string(38, 'a') + "éé", std::string(38, 'a') + "é"},
        {std::string(39, 'a') + "é", std::string(39, 'a')},
        {std::string(38, 'a') + "€", std::string(38, 'a')},  // three bytes from byte 39
        {std::string(37, 'a') + "😀", std::string(37, 'a')},  // four bytes from byte 38
        {std::string(36, 'a') + "😀x", std::string(36, 'a') + "😀"},
        {std::string("ab\0cd", 5), "ab"},
    };
    for (const Case& c : cases) {
        TreeOwner<CFileSystemNode> volume(CreateFileSystemNode());
        volume->SetDisplayName(c.name);
        EXPECT_EQ(std::string(volume->GetDisplayName()), c.kept) << c.name;
        EXPECT_EQ(volume->GetDisplayNameLength(), c.kept.size());
    }
}

TEST(FileTree, RootNodeIsAnEmptyFolderNamedRoot) {
    TreeOwner<CFileSystemNode> root(CreateRootNode());
    ASSERT_TRUE(root);
    const IFileProperties* p = root->GetProperties();
    ASSERT_TRUE(p);
    EXPECT_STREQ(p->GetName(), "Root");
    EXPECT_EQ(p->GetNameLength(), 4u);
    EXPECT_EQ(p->GetAttributes(), kAttrFolder);
    EXPECT_EQ(p->GetPropertiesKind(), kPropertiesMy);
    EXPECT_EQ(p->GetFileSize(), 0u);
    EXPECT_EQ(p->GetTypeCode(), 0u);
    EXPECT_EQ(p->GetState(), 0);
    EXPECT_EQ(p->GetCheckState(), kUnchecked);
    EXPECT_EQ(root->GetFileSystemType(), kFsUnknown);
}

TEST(FileSystemNode, SetPropertiesMark) {
    TreeOwner<CFileSystemNode> root(CreateRootNode());
    EXPECT_TRUE(root->SetPropertiesMark(root.get(), 5));
    EXPECT_EQ(root->GetProperties()->GetMark(), 5u);
    EXPECT_FALSE(root->SetPropertiesMark(nullptr, 5));
    TreeOwner<> bare(CreateFileNode());
    EXPECT_FALSE(root->SetPropertiesMark(bare.get(), 5));
}

}  // namespace
}  // namespace keldrin
