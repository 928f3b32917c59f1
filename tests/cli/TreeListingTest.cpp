#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "cli/TimeText.h"
#include "cli/TreeListing.h"
#include "engine/model/FileTree.h"
#include "engine/model/MyFileProperties.h"

namespace keldrin::cli {
namespace {

CFileNode* Add(CFileNode* parent, const char* name, bool folder, uint64_t size = 0, uint8_t state = 0,
               uint64_t mtime = 0) {
    MyFileRecord r;
    r.SetName(name);
    r.attributes = folder ? kAttrFolder : 0;
    r.size = size;
    r.state = state;
    r.modificationTime = mtime;
    r.typeCode = kTypeCodeFileSystem;
    CFileNode* node = CreateFileNode();
    node->SetProperties(new CMyFileProperties(r));
    parent->AddChild(node);
    return node;
}

TEST(TreeListing, DepthFirstInByteOrderWithEscapedNames) {
    TreeOwner<CFileSystemNode> root(CreateRootNode());
    CFileNode* docs = Add(root.get(), "docs", true);
    Add(docs, "b.txt", false, 7, kStateDeleted, 133537608000000000);  // 2024-03-01T10:00:00Z
    Add(docs, "a.txt", false, 5);
    Add(root.get(), "Zeta", false, 1, kStateDeleted | kStateLost);
    Add(root.get(), "evil/..\nname", false, 2, kStateTemp);
    std::ostringstream out;
    EXPECT_EQ(PrintTree(root.get(), ListingFormat::kTsv, out), 5u);
    EXPECT_EQ(out.str(),
              "DL\t1\t-\tZeta\n"
              "-\t-\t-\tdocs/\n"
              "-\t5\t-\tdocs/a.txt\n"
              "D\t7\t2024-03-01T10:00:00Z\tdocs/b.txt\n"
              "T\t2\t-\tevil\\x2f..\\x0aname\n");
}

TEST(TreeListing, PathsFollowTheDepthAcrossSubtreesAndDamage) {
    TreeOwner<CFileSystemNode> root(CreateRootNode());
    CFileNode* a = Add(root.get(), "a", true);
    CFileNode* b = Add(a, "b", true);
    Add(Add(b, "c", true), "deep.txt", false, 1);
    Add(a, "d.txt", false, 2);
    // A damaged tree: a file holding a node, and a node without properties hiding its subtree.
    Add(Add(root.get(), "file", false, 3), "inside", false, 4);
    CFileNode* bare = CreateFileNode();
    root->AddChild(bare);
    Add(bare, "unseen", false, 5);
    Add(root.get(), "z\\last", false, 6);
    std::ostringstream out;
    EXPECT_EQ(PrintTree(root.get(), ListingFormat::kTsv, out), 8u);
    EXPECT_EQ(out.str(),
              "-\t-\t-\ta/\n"
              "-\t-\t-\ta/b/\n"
              "-\t-\t-\ta/b/c/\n"
              "-\t1\t-\ta/b/c/deep.txt\n"
              "-\t2\t-\ta/d.txt\n"
              "-\t3\t-\tfile\n"
              "-\t4\t-\tfile/inside\n"
              "-\t6\t-\tz\\x5clast\n");
}

void ExpectTwoThreadsWriteWhatOneWrites(const CFileNode* root, uint64_t expectedLines, const char* tree) {
    for (ListingFormat format : {ListingFormat::kTsv, ListingFormat::kJson}) {
        std::ostringstream one, two;
        EXPECT_EQ(PrintTree(root, format, one, 1), expectedLines) << tree;
        EXPECT_EQ(PrintTree(root, format, two, 2), expectedLines) << tree;
        EXPECT_TRUE(two.str() == one.str()) << tree;
    }
}

// Pieces formatted on two threads come out as one thread writes them. Nesting opens the pieces
// several levels deep, around damage; a wide top leaves a big folder one piece, streamed while
// the pieces after it wait.
TEST(TreeListing, TwoThreadsWriteWhatOneWrites) {
    TreeOwner<CFileSystemNode> nested(CreateRootNode());
    for (int d = 0; d < 3; ++d) {
        CFileNode* top = Add(nested.get(), ("top" + std::to_string(d)).c_str(), true);
        for (int e = 0; e < 5; ++e) {
            CFileNode* mid = Add(top, ("mid" + std::to_string(e)).c_str(), true);
            for (int f = 0; f < 7; ++f) Add(mid, ("f" + std::to_string(f)).c_str(), false, 10 * f + e);
            Add(Add(mid, "file", false, 1), "under a file", false, 2);
            CFileNode* bare = CreateFileNode();
            mid->AddChild(bare);
            Add(bare, "unseen", false, 3);
        }
    }
    Add(nested.get(), "zz last", false, 9);
    ExpectTwoThreadsWriteWhatOneWrites(nested.get(), 3 + 3 * 5 * (1 + 7 + 2) + 1, "nested");

    TreeOwner<CFileSystemNode> wide(CreateRootNode());
    for (int i = 0; i < 70; ++i) Add(wide.get(), ("top file " + std::to_string(i)).c_str(), false, i);
    CFileNode* big = Add(wide.get(), "big", true);
    for (int i = 0; i < 30000; ++i)  // more than a megabyte of lines
        Add(big, ("a rather long name of a file, number " + std::to_string(i)).c_str(), false, i,
            kStateDeleted);
    Add(wide.get(), "zz last", false, 9);
    ExpectTwoThreadsWriteWhatOneWrites(wide.get(), 70 + 1 + 30000 + 1, "wide");
}

TEST(TreeListing, ByteOrderPastLongCommonStartsAndTiesInSiblingOrder) {
    TreeOwner<CFileSystemNode> root(CreateRootNode());
    for (const char* name : {"\xc3\xa9t\xc3\xa9", "abcdefgh2", "abcdefgh1", "abcdefgh", "abc", "B"})
        Add(root.get(), name, false, 1);
    Add(root.get(), "same", false, 2);
    Add(root.get(), "same", false, 3);  // listed first: AddChild puts it before its twin
    std::ostringstream out;
    PrintTree(root.get(), ListingFormat::kTsv, out);
    EXPECT_EQ(out.str(),
              "-\t1\t-\tB\n"
              "-\t1\t-\tabc\n"
              "-\t1\t-\tabcdefgh\n"
              "-\t1\t-\tabcdefgh1\n"
              "-\t1\t-\tabcdefgh2\n"
              "-\t3\t-\tsame\n"
              "-\t2\t-\tsame\n"
              "-\t1\t-\t\xc3\xa9t\xc3\xa9\n");
}

TEST(TreeListing, JsonLinesCarryTheSameFields) {
    TreeOwner<CFileSystemNode> root(CreateRootNode());
    Add(root.get(), "q\"uote\x01", false, 3, kStateDeleted, 116444736000000001);
    std::ostringstream out;
    PrintTree(root.get(), ListingFormat::kJson, out);
    EXPECT_EQ(out.str(),
              "{\"state\":\"D\",\"size\":3,\"mtime\":\"1970-01-01T00:00:00.0000001Z\","
              "\"path\":\"q\\\"uote\\\\x01\",\"folder\":false,\"attributes\":0,\"created\":null,"
              "\"modified\":\"1970-01-01T00:00:00.0000001Z\",\"accessed\":null,\"extents\":[]}\n");
}

TEST(TreeListing, StatesAndTimes) {
    struct Case {
        uint8_t state;
        const char* letters;
    } states[] = {{0, "-"},
                  {kStateDeleted, "D"},
                  {kStateCrossLink | kStateDeleted, "DX"},
                  {kStateTemp | kStateLost, "LT"},
                  {kStateRawFolder, "-"}};
    for (const Case& c : states) EXPECT_EQ(StateLetters(c.state), c.letters);
    EXPECT_EQ(FileTimeToIso(0), "-");
    EXPECT_EQ(FileTimeToIso(116444736000000000), "1970-01-01T00:00:00Z");
    EXPECT_EQ(FileTimeToIso(116444736000000001), "1970-01-01T00:00:00.0000001Z");
    EXPECT_EQ(FileTimeToIso(1), "1601-01-01T00:00:00.0000001Z");
    EXPECT_EQ(FileTimeToIso(~uint64_t{0}).front(), '@');
}

}  // namespace
}  // namespace keldrin::cli
