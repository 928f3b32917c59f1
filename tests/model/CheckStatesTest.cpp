#include <gtest/gtest.h>

#include <vector>

#include "TestTree.h"
#include "engine/model/CheckStates.h"
#include "engine/model/FileSystemNode.h"
#include "engine/model/FileTree.h"
#include "engine/model/MyFileProperties.h"

namespace keldrin {
namespace {

using test::AddFile;
using test::AddFolder;
using test::AddVolume;
using test::CheckOf;

// Root
//  └ volume
//     ├ e 50
//     └ docs
//        ├ sub
//        │  ├ d 400 compressed+encrypted
//        │  └ c 300 encrypted
//        ├ b 200 compressed
//        └ a 100
class CheckTree : public ::testing::Test {
  protected:
    void SetUp() override {
        root.reset(CreateRootNode());
        volume = AddVolume(root.get());
        docs = AddFolder(volume);
        e = AddFile(volume, 50);
        a = AddFile(docs, 100);
        b = AddFile(docs, 200, kUnchecked, kAttrCompressed);
        sub = AddFolder(docs);
        c = AddFile(sub, 300, kUnchecked, kAttrEncrypted);
        d = AddFile(sub, 400, kUnchecked, kAttrCompressed | kAttrEncrypted);
        root->RecomputeStatistics();
    }

    static SelectionStatistics Totals() {
        SelectionStatistics s;
        s.files = 5;
        s.totalSize = 1050;
        s.compressedFiles = 1;  // d counts as encrypted only
        s.encryptedFiles = 2;
        return s;
    }
    static SelectionStatistics Checked(uint32_t files, uint64_t size, uint32_t compressed,
                                       uint32_t encrypted) {
        SelectionStatistics s = Totals();
        s.checkedFiles = files;
        s.checkedSize = size;
        s.checkedCompressedFiles = compressed;
        s.checkedEncryptedFiles = encrypted;
        return s;
    }

    TreeOwner<CFileSystemNode> root;
    CFileSystemNode* volume = nullptr;
    CFileNode *docs = nullptr, *sub = nullptr, *a = nullptr, *b = nullptr, *c = nullptr, *d = nullptr,
              *e = nullptr;
};

TEST_F(CheckTree, StatisticsCountFilesOfEveryFileSystemNode) {
    EXPECT_EQ(root->GetStatistics(), Totals());
    EXPECT_EQ(volume->GetStatistics(), Totals());
}

TEST_F(CheckTree, CheckingFilesMovesStatesAndCountersUpEveryLevel) {
    ASSERT_TRUE(root->ToggleCheck(c, false));
    EXPECT_EQ(CheckOf(c), kChecked);
    for (CFileNode* n : {sub, docs, static_cast<CFileNode*>(volume), static_cast<CFileNode*>(root.get())})
        EXPECT_EQ(CheckOf(n), kPartlyChecked);
    EXPECT_EQ(volume->GetStatistics(), Checked(1, 300, 0, 1));
    EXPECT_EQ(root->GetStatistics(), Checked(1, 300, 0, 1));

    root->ToggleCheck(d, false);
    EXPECT_EQ(CheckOf(sub), kChecked);
    EXPECT_EQ(CheckOf(docs), kPartlyChecked);
    EXPECT_EQ(volume->GetStatistics(), Checked(2, 700, 0, 2));

    root->ToggleCheck(e, false);
    root->ToggleCheck(a, false);
    root->ToggleCheck(b, false);
    for (CFileNode* n : {sub, docs, static_cast<CFileNode*>(volume), static_cast<CFileNode*>(root.get())})
        EXPECT_EQ(CheckOf(n), kChecked);
    EXPECT_EQ(root->GetStatistics(), Checked(5, 1050, 1, 2));

    root->ToggleCheck(c, false);  // unchecking
    EXPECT_EQ(CheckOf(c), kUnchecked);
    for (CFileNode* n : {sub, docs, static_cast<CFileNode*>(volume), static_cast<CFileNode*>(root.get())})
        EXPECT_EQ(CheckOf(n), kPartlyChecked);
    EXPECT_EQ(volume->GetStatistics(), Checked(4, 750, 1, 1));
    EXPECT_EQ(root->GetStatistics(), Checked(4, 750, 1, 1));
}

TEST_F(CheckTree, CheckingAFolderCountsOnlyTheFilesNotCheckedYet) {
    root->ToggleCheck(a, false);
    root->ToggleCheck(d, false);
    ASSERT_EQ(volume->GetStatistics(), Checked(2, 500, 0, 1));
    ASSERT_EQ(CheckOf(docs), kPartlyChecked);

    root->ToggleCheck(docs, false);  // partly checked becomes checked
    for (CFileNode* n : {docs, sub, a, b, c, d}) EXPECT_EQ(CheckOf(n), kChecked);
    EXPECT_EQ(CheckOf(volume), kPartlyChecked);  // e is still unchecked
    EXPECT_EQ(volume->GetStatistics(), Checked(4, 1000, 1, 2));
    EXPECT_EQ(root->GetStatistics(), Checked(4, 1000, 1, 2));

    root->ToggleCheck(docs, false);  // checked becomes unchecked
    for (CFileNode* n : {docs, sub, a, b, c, d}) EXPECT_EQ(CheckOf(n), kUnchecked);
    EXPECT_EQ(volume->GetStatistics(), Totals());
}

TEST_F(CheckTree, CheckingTheTopAlsoSetsTheCountersOfFileSystemNodesBelow) {
    root->ToggleCheck(b, false);
    root->ToggleCheck(root.get(), false);
    EXPECT_EQ(root->GetStatistics(), Checked(5, 1050, 1, 2));
    EXPECT_EQ(volume->GetStatistics(), Checked(5, 1050, 1, 2));
    EXPECT_EQ(CheckOf(e), kChecked);
    root->ToggleCheck(root.get(), false);
    EXPECT_EQ(root->GetStatistics(), Totals());
    EXPECT_EQ(volume->GetStatistics(), Totals());
}

TEST_F(CheckTree, SetOnlyChangesTheNodeAlone) {
    ASSERT_TRUE(root->ToggleCheck(docs, true));
    EXPECT_EQ(CheckOf(docs), kChecked);
    for (CFileNode* n : {sub, a, b, static_cast<CFileNode*>(volume)}) EXPECT_EQ(CheckOf(n), kUnchecked);
    EXPECT_EQ(volume->GetStatistics(), Totals());
}

TEST_F(CheckTree, RefreshChecksRebuildsStatesAndStatisticsFromTheFiles) {
    c->GetProperties()->SetCheckState(kChecked);
    d->GetProperties()->SetCheckState(kChecked);
    e->GetProperties()->SetCheckState(kChecked);
    docs->GetProperties()->SetCheckState(kChecked);  // stale: must follow its children
    root->RefreshChecks();
    EXPECT_EQ(CheckOf(sub), kChecked);
    EXPECT_EQ(CheckOf(docs), kPartlyChecked);
    EXPECT_EQ(CheckOf(volume), kPartlyChecked);
    EXPECT_EQ(CheckOf(root.get()), kPartlyChecked);
    EXPECT_EQ(root->GetStatistics(), Checked(3, 750, 0, 2));
    EXPECT_EQ(volume->GetStatistics(), Checked(3, 750, 0, 2));
}

TEST(CheckStates, FolderStateFollowsItsChildren) {
    struct Case {
        std::vector<uint8_t> children;
        uint8_t folder;
    } cases[] = {
        {{}, kUnchecked},
        {{kUnchecked, kUnchecked}, kUnchecked},
        {{kChecked, kChecked}, kChecked},
        {{kChecked, kUnchecked}, kPartlyChecked},
        {{kPartlyChecked, kPartlyChecked}, kPartlyChecked},  // all partly: partly, not checked
        {{kChecked, kPartlyChecked}, kPartlyChecked},
    };
    for (const Case& c : cases) {
        TreeOwner<> folder(AddFolder(nullptr, kChecked));
        for (uint8_t state : c.children) AddFolder(folder.get(), state);
        RecomputeOwnCheckState(folder.get());
        EXPECT_EQ(CheckOf(folder.get()), c.folder) << c.children.size() << " children";
    }
}

TEST(CheckStates, FolderOfPartlyCheckedFoldersIsPartlyChecked) {
    TreeOwner<> top(AddFolder(nullptr));
    for (int i = 0; i < 2; ++i) {
        CFileNode* half = AddFolder(top.get());
        AddFile(half, 1, kChecked);
        AddFile(half, 1, kUnchecked);
    }
    RecomputeCheckStates(top.get());
    EXPECT_EQ(CheckOf(top.get()), kPartlyChecked);
    for (CFileNode* half = top->GetFirstChild(); half; half = half->GetNextSibling())
        EXPECT_EQ(CheckOf(half), kPartlyChecked);
}

TEST(CheckStates, NullNodesAndPropertiesAreTolerated) {
    TreeOwner<CFileSystemNode> root(CreateRootNode());
    CFileNode* bare = CreateFileNode();  // a node without properties, like a builder's temporary root
    root->AddChild(bare);
    AddFile(bare, 10, kChecked);
    CFileNode* file = AddFile(root.get(), 20);

    EXPECT_FALSE(root->ToggleCheck(nullptr, false));
    EXPECT_FALSE(root->ToggleCheck(bare, false));
    RecomputeCheckStates(nullptr);
    RecomputeOwnCheckState(nullptr);
    RecomputeOwnCheckState(bare);

    root->RefreshChecks();
    SelectionStatistics s = root->GetStatistics();
    EXPECT_EQ(s.files, 2u);  // the file below the bare node still counts
    EXPECT_EQ(s.checkedFiles, 1u);
    EXPECT_EQ(CheckOf(root.get()), kUnchecked);  // the bare node takes no part in the state

    EXPECT_TRUE(root->ToggleCheck(file, false));
    EXPECT_EQ(CheckOf(root.get()), kChecked);
    EXPECT_EQ(root->GetStatistics().checkedFiles, 2u);
}

TEST(Statistics, CompressedAndEncryptedFileCountsAsEncryptedOnly) {
    CMyFileProperties p;
    MyFileRecord r;
    r.attributes = kAttrCompressed | kAttrEncrypted;
    r.size = 10;
    r.checkState = kChecked;
    p.SetRecord(r);
    SelectionStatistics s;
    CountFile(s, &p);
    EXPECT_EQ(s.files, 1u);
    EXPECT_EQ(s.checkedFiles, 1u);
    EXPECT_EQ(s.encryptedFiles, 1u);
    EXPECT_EQ(s.checkedEncryptedFiles, 1u);
    EXPECT_EQ(s.compressedFiles, 0u);
    EXPECT_EQ(s.checkedCompressedFiles, 0u);

    r.attributes = kAttrFolder | kAttrCompressed;
    p.SetRecord(r);
    CountFile(s, &p);
    CountFile(s, nullptr);
    EXPECT_EQ(s.files, 1u);  // folders and null properties count nothing
}

}  // namespace
}  // namespace keldrin
