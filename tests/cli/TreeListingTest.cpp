#include <gtest/gtest.h>

#include <sstream>

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
