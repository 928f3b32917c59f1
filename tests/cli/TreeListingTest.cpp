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

TEST(TreeListing, JsonLinesCarryTheSameFields) {
    TreeOwner<CFileSystemNode> root(CreateRootNode());
    Add(root.get(), "q\"uote", false, 3, kStateDeleted);
    std::ostringstream out;
    PrintTree(root.get(), ListingFormat::kJson, out);
    const std::string line = out.str();
    EXPECT_NE(line.find("\"state\":\"D\""), std::string::npos) << line;
    EXPECT_NE(line.find("\"path\":\"q\\\"uote\""), std::string::npos) << line;
    EXPECT_NE(line.find("\"size\":3"), std::string::npos) << line;
    EXPECT_NE(line.find("\"extents\":[]"), std::string::npos) << line;
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
