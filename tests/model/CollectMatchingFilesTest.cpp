#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SearchTestSupport.h"
#include "engine/model/CollectMatchingFiles.h"
#include "engine/model/FileTree.h"

namespace keldrin {
namespace {

using test::AddFields;
using test::AddNamedFile;
using test::AddNamedFolder;
using test::NamesOf;

// Root
//  └ volume
//     ├ a.doc
//     ├ docs (folder named like a match)
//     │  ├ b.doc (checked already)
//     │  ├ sub
//     │  │  └ c.doc
//     │  └ d.txt
//     └ e.doc
class Search : public ::testing::Test {
  protected:
    void SetUp() override {
        root.reset(CreateRootNode());
        volume = CreateFileSystemNode();
        volume->SetProperties(
            new CMyFileProperties(test::RecordOf({.name = "vol", .attributes = kAttrFolder})));
        root->AddChild(volume);
        e = AddNamedFile(volume, "e.doc");
        docs = AddNamedFolder(volume, "docs.doc");
        a = AddNamedFile(volume, "a.doc");
        AddNamedFile(docs, "d.txt");
        sub = AddNamedFolder(docs, "sub");
        c = AddNamedFile(sub, "c.doc");
        b = AddNamedFile(docs, "b.doc");
        b->GetProperties()->SetCheckState(kChecked);
        root->RefreshChecks();
    }

    SearchValues Values(const char* name) {
        SearchValues values;
        values.name = name;
        values.start = root.get();
        return values;
    }

    TreeOwner<CFileSystemNode> root;
    CFileSystemNode* volume = nullptr;
    CFileNode *a = nullptr, *b = nullptr, *c = nullptr, *e = nullptr, *docs = nullptr, *sub = nullptr;
};

TEST_F(Search, VisitsDepthFirstAndNeverReturnsFolders) {
    std::vector<CFileNode*> results;
    EXPECT_TRUE(SearchFiles(Values("*.doc"), root.get(), results));
    EXPECT_EQ(NamesOf(results), (std::vector<std::string>{"a.doc", "b.doc", "c.doc", "e.doc"}));
    EXPECT_EQ(b->GetProperties()->GetCheckState(), kChecked);
    EXPECT_EQ(a->GetProperties()->GetCheckState(), kUnchecked);  // no auto select

    // From a folder: only what lies below it.
    SearchValues values = Values("*");
    values.start = docs;
    EXPECT_TRUE(SearchFiles(values, root.get(), results));
    EXPECT_EQ(NamesOf(results), (std::vector<std::string>{"b.doc", "c.doc", "d.txt"}));
}

TEST_F(Search, AutoSelectChecksTheResultsAndUpdatesTheCounts) {
    SearchValues values = Values("?.doc");
    values.autoSelect = true;
    std::vector<CFileNode*> results;
    ASSERT_TRUE(SearchFiles(values, root.get(), results));
    EXPECT_EQ(results.size(), 4u);
    for (CFileNode* file : {a, b, c, e}) EXPECT_EQ(file->GetProperties()->GetCheckState(), kChecked);
    // b was checked already and stays so; docs has an unchecked d.txt.
    EXPECT_EQ(sub->GetProperties()->GetCheckState(), kChecked);
    EXPECT_EQ(docs->GetProperties()->GetCheckState(), kPartlyChecked);
    EXPECT_EQ(root->GetStatistics().checkedFiles, 4u);
    EXPECT_EQ(volume->GetStatistics().checkedFiles, 4u);
}

TEST_F(Search, NoResultsFromAFileOrForARefusedText) {
    std::vector<CFileNode*> results{a};
    SearchValues values = Values("*");
    values.start = c;  // a file: it has no descendants
    EXPECT_FALSE(SearchFiles(values, root.get(), results));
    EXPECT_TRUE(results.empty());
    EXPECT_STREQ(kNoFilesMatchMessage, "No files match specific criteria.");

    for (const char* refused : {"a\\b", "docs/a.doc", "c:", "x|y"}) {
        EXPECT_FALSE(SearchFiles(Values(refused), root.get(), results)) << refused;
        EXPECT_TRUE(results.empty());
    }
    EXPECT_FALSE(SearchFiles(Values("*.xls"), root.get(), results));
    values.start = nullptr;
    EXPECT_FALSE(SearchFiles(values, root.get(), results));
    // An empty name searches for every file.
    EXPECT_TRUE(SearchFiles(Values(""), root.get(), results));
    EXPECT_EQ(results.size(), 5u);
}

TEST_F(Search, CollectAppendsAndChecksNothingWithoutTheTopRoot) {
    const SearchCriteria criteria(Values("*.doc"));
    std::vector<CFileNode*> results{e};
    EXPECT_TRUE(CollectMatchingFiles(sub, criteria, true, nullptr, results));
    EXPECT_EQ(NamesOf(results), (std::vector<std::string>{"e.doc", "c.doc"}));
    EXPECT_EQ(c->GetProperties()->GetCheckState(), kUnchecked);
    EXPECT_FALSE(CollectMatchingFiles(nullptr, criteria, false, nullptr, results));
}

TEST(SearchDepth, WalksAChainFarDeeperThanTheStack) {
    TreeOwner<> top(AddNamedFolder(nullptr, "top"));
    CFileNode* node = top.get();
    for (int i = 0; i < 200000; ++i) node = AddNamedFolder(node, "d");
    AddNamedFile(node, "bottom.doc");
    SearchValues values;
    values.name = "*.doc";
    values.start = top.get();
    std::vector<CFileNode*> results;
    EXPECT_TRUE(SearchFiles(values, nullptr, results));
    EXPECT_EQ(NamesOf(results), (std::vector<std::string>{"bottom.doc"}));
}

}  // namespace
}  // namespace keldrin
