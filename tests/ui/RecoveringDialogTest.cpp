// The recovering dialog copying the deleted files of the sample volume out.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "engine/devices/ImageFileDevice.h"
#include "engine/ntfs/NTFSTreeBuilder.h"
#include "tests/ui/UiFixtures.h"
#include "ui/controller/RecoveredTree.h"
#include "ui/dialogs/CRecoveringDlg.h"
#include "ui/dialogs/CSingleFileCopyDlg.h"

namespace keldrin::ui {
namespace {

class RecoveringDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        device_ = std::make_unique<CImageFileDevice>(testing::SampleVolume(dir_.path()).string());
        ASSERT_TRUE(device_->Open());
        CNullDIRBuildCallback callback;
        ntfs::CNTFSTreeBuilder builder(0);
        TreeOwner<CFileSystemNode> built(builder.BuildTree(0, device_.get(), &callback));
        ASSERT_TRUE(built);
        filter_ = std::make_unique<CFileStateFilter>(kStateDeleted | kStateLost | kStateCrossLink);
        CFilteredTreeBuilder filtered(filter_.get());
        FilteredCopyOwner copy(filtered.Build(built.get()));
        tree_ = RecoveredTree::Make(std::move(built), std::move(copy));
        ASSERT_TRUE(tree_);
    }

    keldrin::testing::ScopedTempDir dir_;
    testing::ScriptedPrompts prompts_;
    std::unique_ptr<CImageFileDevice> device_;
    std::unique_ptr<CFileStateFilter> filter_;
    std::unique_ptr<RecoveredTree> tree_;
};

TEST_F(RecoveringDialogTest, CopiesEveryCheckedFileAndNamesTheFolderItMade) {
    CFileSystemNode* root = tree_->Root();
    ASSERT_TRUE(root->ToggleCheck(tree_->Copy(), false));
    const SelectionStatistics stats = root->GetStatistics();
    ASSERT_GT(stats.checkedFiles, 0u);
    const std::filesystem::path out = dir_.path() / "out";
    CRecoveringDlg dialog(root, device_.get(), out.string(), nullptr);
    // Escape and Enter never close it; it ends when the copy is done.
    QTimer::singleShot(0, &dialog, [&] {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(&dialog, &escape);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(dialog.SelectedFiles(), stats.checkedFiles);
    EXPECT_EQ(dialog.RecoveredFiles(), stats.checkedFiles);
    EXPECT_EQ(dialog.BytesDone(), static_cast<int64_t>(stats.checkedSize));
    ASSERT_EQ(dialog.ResultFolders().size(), 1);
    EXPECT_TRUE(std::filesystem::is_directory(dialog.ResultFolders()[0].toStdString()));
    EXPECT_TRUE(prompts_.asked.isEmpty());
}

TEST_F(RecoveringDialogTest, NothingCheckedCopiesNothingAndShowsAFullBar) {
    CRecoveringDlg dialog(tree_->Root(), device_.get(), (dir_.path() / "out").string(), nullptr);
    EXPECT_EQ(dialog.BarMaximum(), 1);
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(dialog.RecoveredFiles(), 0u);
    EXPECT_TRUE(dialog.ResultFolders().isEmpty());
    EXPECT_FALSE(std::filesystem::exists(dir_.path() / "out"));
}

// The largest deleted file of the sample: Pictures/harbour.bmp.
CFileNode* LargestFile(CFileNode* folder) {
    CFileNode* best = nullptr;
    for (CFileNode* child = folder->GetFirstChild(); child; child = child->GetNextSibling()) {
        CFileNode* candidate = child->GetFirstChild() ? LargestFile(child) : child;
        if (candidate &&
            (!best || candidate->GetProperties()->GetFileSize() > best->GetProperties()->GetFileSize()))
            best = candidate;
    }
    return best;
}

TEST_F(RecoveringDialogTest, OneFileDialogsWriteTheFileOrSayWhyNot) {
    CFileNode* file = LargestFile(tree_->Copy());
    ASSERT_TRUE(file);
    ASSERT_EQ(file->GetProperties()->GetFileSize(), 18486u);
    const std::string path = (dir_.path() / "one.bmp").string();
    {
        CRBClickRecoverFileDlg dialog(device_.get(), file, path, nullptr);
        EXPECT_EQ(dialog.windowTitle(), "Recovering...");
        EXPECT_EQ(dialog.exec(), QDialog::Accepted);
        EXPECT_EQ(dialog.PercentText()->text(), "100%");
        EXPECT_EQ(std::filesystem::file_size(path), 18486u);
    }
    // Abort asks nothing; the copy stops at its first step and nothing is said.
    {
        CRBClickRecoverFileDlg dialog(device_.get(), file, (dir_.path() / "two.bmp").string(), nullptr);
        dialog.Abort();
        EXPECT_EQ(dialog.windowTitle(), "Cancelling...");
        EXPECT_EQ(dialog.exec(), QDialog::Rejected);
        EXPECT_TRUE(dialog.WasCancelled());
    }
    EXPECT_TRUE(prompts_.asked.isEmpty());
    EXPECT_TRUE(prompts_.warned.isEmpty());
    // A copy that cannot be made: each dialog with its own message.
    {
        CRBClickRecoverFileDlg dialog(nullptr, file, (dir_.path() / "three.bmp").string(), nullptr);
        EXPECT_EQ(dialog.exec(), QDialog::Rejected);
        EXPECT_EQ(prompts_.warned, QStringList{"Failed to recover this file."});
    }
    {
        CPreviewLoadingDlg dialog(nullptr, file, (dir_.path() / "four.bmp").string(), nullptr);
        EXPECT_EQ(dialog.windowTitle(), "Loading...");
        EXPECT_EQ(dialog.exec(), QDialog::Rejected);
        EXPECT_EQ(prompts_.informed, QStringList{"Cannot preview this file."});
    }
}

}  // namespace
}  // namespace keldrin::ui
