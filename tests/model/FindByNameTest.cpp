#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SearchTestSupport.h"
#include "engine/model/FileTree.h"
#include "engine/model/FindByName.h"

namespace keldrin {
namespace {

using test::AddNamedFile;
using test::AddNamedFolder;
using test::NameOf;

// A main window over a tree: the folder tree shows the folders, the list the selected folder's
// children in order.
class FakeWindow final : public IFindFileList, public IFindFolderTree {
  public:
    explicit FakeWindow(CFileNode* top) : top_(top) { SelectFolder(top); }

    size_t GetCount() const override { return entries_.size(); }
    CFileNode* GetEntry(size_t index) const override {
        return index < entries_.size() ? entries_[index] : nullptr;
    }
    ptrdiff_t GetSelected() const override { return selected_; }
    void Select(size_t index) override { selected_ = static_cast<ptrdiff_t>(index); }

    CFileNode* GetTop() const override { return top_; }
    CFileNode* GetSelectedFolder() const override { return folder_; }
    CFileNode* GetFirstSubfolder(CFileNode* folder) const override {
        return FolderFrom(folder->GetFirstChild());
    }
    CFileNode* GetNextSibling(CFileNode* folder) const override {
        return folder == top_ ? nullptr : FolderFrom(folder->GetNextSibling());
    }
    CFileNode* GetParent(CFileNode* folder) const override {
        return folder == top_ ? nullptr : folder->GetParent();
    }
    void SelectFolder(CFileNode* folder) override {
        folder_ = folder;
        entries_.clear();
        for (CFileNode* c = folder->GetFirstChild(); c; c = c->GetNextSibling()) entries_.push_back(c);
        selected_ = -1;
        ++folderSelections;
    }

    std::string SelectedName() const { return selected_ < 0 ? "(none)" : NameOf(entries_[selected_]); }
    std::string FolderName() const { return NameOf(folder_); }

    int folderSelections = 0;

  private:
    static CFileNode* FolderFrom(CFileNode* node) {
        while (node && !IsFolder(node->GetProperties())) node = node->GetNextSibling();
        return node;
    }

    CFileNode* top_;
    CFileNode* folder_ = nullptr;
    std::vector<CFileNode*> entries_;
    ptrdiff_t selected_ = -1;
};

// One line of a scripted session: the result and where the selection is afterwards.
struct Step {
    FindResult result;
    const char* folder;
    const char* entry;
};

void RunSteps(CFindFileByName& find, FakeWindow& window, const char* text, const std::vector<Step>& steps,
              bool matchCase = false, bool wholeWord = false) {
    for (size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(find.FindNext(text, matchCase, wholeWord, window, &window), steps[i].result)
            << "step " << i;
        EXPECT_EQ(window.FolderName(), steps[i].folder) << "step " << i;
        EXPECT_EQ(window.SelectedName(), steps[i].entry) << "step " << i;
    }
}

// top: t.txt, F1, F2, F3 (in list order)
//   F1: a.txt x1.doc x2.doc
//   F2: sub (F2a: y.doc), n.txt
//   F3: z.doc
class Find : public ::testing::Test {
  protected:
    void SetUp() override {
        top.reset(AddNamedFolder(nullptr, "top"));
        CFileNode* f3 = AddNamedFolder(top.get(), "F3");
        AddNamedFile(f3, "z.doc");
        CFileNode* f2 = AddNamedFolder(top.get(), "F2");
        AddNamedFile(f2, "n.txt");
        CFileNode* f2a = AddNamedFolder(f2, "F2a");
        AddNamedFile(f2a, "y.doc");
        f1 = AddNamedFolder(top.get(), "F1");
        AddNamedFile(f1, "x2.doc");
        AddNamedFile(f1, "x1.doc");
        AddNamedFile(f1, "a.txt");
        AddNamedFile(top.get(), "t.txt");
    }
    TreeOwner<> top;
    CFileNode* f1 = nullptr;
};

TEST_F(Find, StepsThroughTheListThenTheTreeAndReportsTheWrap) {
    FakeWindow window(top.get());
    window.SelectFolder(f1);
    CFindFileByName find;
    RunSteps(find, window, "*.doc",
             {
                 {kFindFound, "F1", "x1.doc"},  // after the current (first) entry
                 {kFindFound, "F1", "x2.doc"},
                 {kFindFound, "F2a", "y.doc"},  // F2 has no matching file of its own
                 {kFindFound, "F3", "z.doc"},
                 // Round to the top and into F1, where the start item ends the walk.
                 {kFindWrapped, "F1", "x1.doc"},
                 {kFindFound, "F1", "x2.doc"},
             });
    EXPECT_EQ(CFindFileByName::MessageFor(kFindWrapped), std::string("No more files found."));
    EXPECT_EQ(CFindFileByName::MessageFor(kFindNotHere), std::string("No files found"));
    EXPECT_EQ(CFindFileByName::MessageFor(kFindFound), nullptr);
}

TEST_F(Find, WithoutATreeWrapsWithinTheList) {
    FakeWindow window(f1);
    CFindFileByName find;
    auto next = [&] { return find.FindNext("doc", false, false, window, nullptr); };  // "*doc*"
    EXPECT_EQ(next(), kFindFound);
    EXPECT_EQ(window.SelectedName(), "x1.doc");
    EXPECT_EQ(find.GetStartItem(), window.GetEntry(1));
    EXPECT_EQ(next(), kFindFound);
    EXPECT_EQ(window.SelectedName(), "x2.doc");
    // From the first entry again: the start item is reached, which is the wrap.
    EXPECT_EQ(next(), kFindWrapped);
    EXPECT_EQ(window.SelectedName(), "x1.doc");
    EXPECT_EQ(next(), kFindFound);
    EXPECT_EQ(window.SelectedName(), "x2.doc");
}

TEST_F(Find, NothingFoundFirstThenNoMore) {
    FakeWindow window(top.get());
    CFindFileByName find;
    EXPECT_EQ(find.FindNext("*.xls", false, false, window, &window), kFindNotHere);
    EXPECT_TRUE(find.HasSearched());
    EXPECT_EQ(find.FindNext("*.xls", false, false, window, &window), kFindWrapped);
}

TEST_F(Find, RefusedTextChangesNothing) {
    FakeWindow window(f1);
    CFindFileByName find;
    for (const char* text : {"a\\b", "a/b", "a:b", "\"", "<", ">", "|"}) {
        EXPECT_EQ(find.FindNext(text, false, false, window, &window), kFindNotHere) << text;
        EXPECT_FALSE(find.HasSearched());
        EXPECT_EQ(find.GetStartItem(), nullptr);
        EXPECT_EQ(window.folderSelections, 1);
        EXPECT_EQ(window.SelectedName(), "(none)");
    }
}

TEST_F(Find, EmptyTextFindsEveryFileAndOptionsCount) {
    FakeWindow window(f1);
    CFindFileByName find;
    EXPECT_EQ(find.FindNext("", false, false, window, nullptr), kFindFound);
    EXPECT_EQ(window.SelectedName(), "x1.doc");  // after the current entry, a.txt

    // Whole word: "x1" no longer lies anywhere in the name.
    CFindFileByName whole;
    window.Select(0);
    EXPECT_EQ(whole.FindNext("x1", false, true, window, nullptr), kFindNotHere);
    EXPECT_EQ(whole.FindNext("x1.doc", false, true, window, nullptr), kFindFound);
    EXPECT_EQ(whole.FindNext("X1.DOC", true, true, window, nullptr), kFindWrapped);
}

TEST_F(Find, NewTextOrOptionsTakeANewStartItem) {
    FakeWindow window(f1);
    CFindFileByName find;
    ASSERT_EQ(find.FindNext("*.doc", false, false, window, nullptr), kFindFound);
    CFileNode* x1 = find.GetStartItem();
    ASSERT_EQ(NameOf(x1), "x1.doc");
    ASSERT_EQ(find.FindNext("*.doc", false, false, window, nullptr), kFindFound);
    EXPECT_EQ(find.GetStartItem(), x1);
    ASSERT_EQ(find.FindNext("*.txt", false, false, window, nullptr), kFindFound);  // a.txt, round the end
    EXPECT_EQ(window.SelectedName(), "a.txt");
    EXPECT_EQ(NameOf(find.GetStartItem()), "a.txt");
    ASSERT_EQ(find.FindNext("*.txt", true, false, window, nullptr), kFindWrapped);
    find.Reset();
    EXPECT_EQ(find.GetStartItem(), nullptr);
    EXPECT_FALSE(find.HasSearched());
}

TEST_F(Find, EmptyListAndAStrayFolderEndTheWalk) {
    TreeOwner<> empty(AddNamedFolder(nullptr, "empty"));
    FakeWindow bare(empty.get());
    CFindFileByName find;
    EXPECT_EQ(find.FindNext("*", false, false, bare, &bare), kFindNotHere);

    // The selected folder is not in the tree's order: the walk still ends, after the whole tree.
    TreeOwner<> stray(AddNamedFolder(nullptr, "stray"));
    FakeWindow window(top.get());
    window.SelectFolder(stray.get());
    CFindFileByName lost;
    EXPECT_EQ(lost.FindNext("*.doc", false, false, window, &window), kFindFound);
    EXPECT_EQ(window.FolderName(), "F1");
}

}  // namespace
}  // namespace keldrin
