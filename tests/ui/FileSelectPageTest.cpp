// The file-selection, saving and result pages on the sample volume: ticking, searching, finding,
// one-file recovery and the whole copy to a folder, checked against the sample's manifest.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeView>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "tests/ui/UiFixtures.h"
#include "ui/controller/Messages.h"
#include "ui/dialogs/CFindFileDlg.h"
#include "ui/dialogs/CSearchFileDlg.h"
#include "ui/pages/CDeleteRecoveryPartitionDeviceSelectPage.h"
#include "ui/pages/CFileListModel.h"
#include "ui/pages/CFileSelectPage.h"
#include "ui/pages/CFolderTreeModel.h"
#include "ui/pages/CSaveFilePage.h"
#include "ui/pages/CSaveResultPage.h"
#include "ui/wizard/CWizardSheet.h"

namespace keldrin::ui {
namespace {

struct ManifestFile {
    uint64_t size;
    std::string sha256;
    bool deleted;
};

// path → size, digest and whether it was deleted; files only.
std::map<std::string, ManifestFile> ReadManifest() {
    std::map<std::string, ManifestFile> files;
    std::ifstream in(std::string(KELDRIN_SOURCE_DIR) + "/samples/sample-ntfs.img.manifest.tsv");
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string path, size, sha, deleted;
        std::getline(fields, path, '\t');
        std::getline(fields, size, '\t');
        std::getline(fields, sha, '\t');
        std::getline(fields, deleted, '\t');
        if (path.empty() || path.back() == '/') continue;
        files[path] = {std::stoull(size), sha, deleted == "yes"};
    }
    return files;
}

std::string Sha256(const std::filesystem::path& file) {
    const std::string command = "sha256sum '" + file.string() + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return {};
    char digest[65] = {};
    const size_t got = fread(digest, 1, 64, pipe);
    pclose(pipe);
    return std::string(digest, got);
}

class FileSelectPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        CWizardControllers& c = sheet_.Controllers();
        c.DeleteDevice().SetDiskSource([](DiskDeviceList&) {});
        sheet_.resize(760, 496);
        c.ModeSelect().SetMode(kModeDeletedFile);
        c.ModeSelect().GoNext();
        c.TypeOfFile().GoNext();
        auto* device = static_cast<CDeleteRecoveryPartitionDeviceSelectPage*>(sheet_.Page(kPageDeleteDevice));
        ASSERT_TRUE(
            device->OpenImagePath(QString::fromStdString(testing::SampleVolume(dir_.path()).string())));
        ASSERT_TRUE(c.DeleteDevice().SelectEntry(0));
        sheet_.Next();
        ASSERT_EQ(sheet_.CurrentIndex(), kPageFileSelect);
        prompts_.informed.clear();  // the device page's tip
    }
    CFileSelectPage* Page() { return static_cast<CFileSelectPage*>(sheet_.Page(kPageFileSelect)); }
    const RecoveredTree& Tree() { return *sheet_.Controllers().FileSelect().Tree(); }
    // The folder of the shown copy at path ("Documents/Letters").
    CFileNode* FolderAt(const std::string& path) {
        CFileNode* node = Tree().Copy();
        std::istringstream parts(path);
        std::string part;
        while (node && std::getline(parts, part, '/')) {
            CFileNode* child = node->GetFirstChild();
            while (child && part != child->GetProperties()->GetName()) child = child->GetNextSibling();
            node = child;
        }
        return node;
    }
    QString Selected() { return Page()->SelectedLine()->text(); }

    keldrin::testing::ScopedTempDir dir_;
    testing::ScriptedPrompts prompts_;
    CWizardSheet sheet_{nullptr};
};

TEST_F(FileSelectPageTest, TickingAFolderInTheTreeUpdatesTheListAndTheStatistics) {
    EXPECT_EQ(Page()->TotalLine()->text(), "Total 26.56 KB in 5 files");
    EXPECT_EQ(Selected(), "Nothing selected");
    CFolderTreeModel* tree = Page()->FolderModel();
    CFileNode* letters = FolderAt("Documents/Letters");
    ASSERT_TRUE(letters);
    const QModelIndex index = tree->IndexOf(letters);
    ASSERT_TRUE(index.isValid());
    EXPECT_EQ(tree->data(index, Qt::DisplayRole).toString(), "Letters");
    ASSERT_TRUE(tree->setData(index, Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(Selected(), "Selected 4.84 KB in 3 files");
    EXPECT_EQ(tree->data(tree->IndexOf(FolderAt("Documents")), Qt::CheckStateRole), Qt::Checked);
    EXPECT_EQ(tree->data(tree->parent(tree->IndexOf(FolderAt("Documents"))), Qt::CheckStateRole),
              Qt::PartiallyChecked);

    // The list shows the folder's files, sorted, checked; unticking one leaves the folder partly checked.
    Page()->SelectFolder(letters);
    CFileListModel* list = Page()->ListModel();
    ASSERT_EQ(list->rowCount({}), 3);
    EXPECT_EQ(list->data(list->index(0, 0), Qt::DisplayRole).toString(), "letter-1.txt");
    EXPECT_EQ(list->data(list->index(2, 1), Qt::DisplayRole).toString(), "2.30 KB");
    EXPECT_EQ(list->data(list->index(2, 2), Qt::DisplayRole).toString(), "txt");
    ASSERT_TRUE(list->setData(list->index(1, 0), Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_EQ(list->data(list->index(1, 0), Qt::CheckStateRole), Qt::Unchecked);
    EXPECT_EQ(tree->data(index, Qt::CheckStateRole), Qt::PartiallyChecked);
    EXPECT_EQ(Selected(), "Selected 3.22 KB in 2 files");

    // A folder over the threshold is listed on a worker under the notice, with the same rows.
    Page()->SetManyFilesThreshold(1);
    Page()->SelectFolder(letters);
    ASSERT_EQ(list->rowCount({}), 3);
    EXPECT_EQ(list->data(list->index(2, 0), Qt::DisplayRole).toString(), "letter-3.txt");
}

TEST_F(FileSelectPageTest, SearchWithAutoSelectTicksTheMatchesAndANameWithoutMatchesTicksNothing) {
    {
        CSearchFileDlg search(Tree().Root(), Page()->SelectedFolder(), nullptr);
        search.NameEdit()->setText("nothing-*.here");
        search.Search();
        EXPECT_EQ(search.result(), QDialog::Rejected);
        EXPECT_TRUE(search.Results().empty());
        EXPECT_EQ(prompts_.informed, QStringList{"No files match specific criteria."});
    }
    EXPECT_EQ(Selected(), "Nothing selected");
    CSearchFileDlg search(Tree().Root(), Page()->SelectedFolder(), nullptr);
    search.NameEdit()->setText("LETTER-?.TXT");
    search.SizeBox()->setChecked(true);
    search.SizeWhich()->setCurrentIndex(1);  // more than 1 KB: letter-2 and letter-3
    search.SizeKb()->setText("1");
    ASSERT_TRUE(search.AutoSelect()->isChecked());
    search.Search();
    EXPECT_EQ(search.result(), QDialog::Accepted);
    EXPECT_EQ(search.Results().size(), 2u);
    Page()->RefreshStatistics();
    EXPECT_EQ(Selected(), "Selected 3.91 KB in 2 files");

    // A number out of range keeps the dialog open with its message.
    search.setResult(QDialog::Rejected);
    search.SizeKb()->setText("1000000001");
    search.Search();
    EXPECT_EQ(search.result(), QDialog::Rejected);
    EXPECT_TRUE(prompts_.informed.back().contains("between 0 and 1000000000"));
}

TEST_F(FileSelectPageTest, FindByNameStepsThroughTheFoldersAndSaysWhenItWrapped) {
    Page()->OpenFind();
    CFindFileDlg* find = Page()->FindDialog();
    ASSERT_TRUE(find);
    find->NameEdit()->setText("no-such-name");
    EXPECT_EQ(find->FindNext(), kFindNotHere);
    EXPECT_EQ(prompts_.informed.back(), "No files found");
    find->NameEdit()->setText("letter");
    QStringList found;
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(find->FindNext(), kFindFound) << i;
        found << QString::fromUtf8(Page()->SelectedFile()->GetProperties()->GetName());
    }
    EXPECT_EQ(found, (QStringList{"letter-1.txt", "letter-2.txt", "letter-3.txt"}));
    EXPECT_EQ(Page()->SelectedFolder(), FolderAt("Documents/Letters"));
    EXPECT_EQ(find->FindNext(), kFindWrapped);
    EXPECT_EQ(prompts_.informed.back(), "No more files found.");
}

TEST_F(FileSelectPageTest, RecoversOneFileFromTheListMenuAndRefusesWithoutASelection) {
    const auto manifest = ReadManifest();
    Page()->SelectFolder(FolderAt("Pictures"));
    Page()->RecoverSelectedFile();
    EXPECT_EQ(prompts_.informed, QStringList{"Please select a file to recover!"});
    ASSERT_EQ(Page()->ListModel()->rowCount({}), 1);
    Page()->SelectFile(Page()->ListModel()->NodeAt(0));
    // Cancelling the save dialog writes nothing; a chosen path gets the file, byte for byte.
    Page()->RecoverSelectedFile();
    const std::filesystem::path target = dir_.path() / "copy" / "harbour-again.bmp";
    std::filesystem::create_directories(target.parent_path());
    prompts_.savePath = QString::fromStdString(target.string());
    Page()->RecoverSelectedFile();
    ASSERT_TRUE(std::filesystem::exists(target));
    EXPECT_EQ(Sha256(target), manifest.at("Pictures/harbour.bmp").sha256);
    EXPECT_EQ(std::filesystem::directory_iterator(target.parent_path())->path(), target);
}

TEST_F(FileSelectPageTest, RecoversTheTickedFilesByteExactReportsThemAndReturnsToTheSameTree) {
    CWizardControllers& c = sheet_.Controllers();
    // Nothing ticked: Next stays.
    sheet_.Next();
    EXPECT_EQ(sheet_.CurrentIndex(), kPageFileSelect);
    EXPECT_EQ(prompts_.informed, QStringList{"Select files to save, please."});

    Page()->ToggleCheck(Tree().Copy());
    sheet_.Next();
    ASSERT_EQ(sheet_.CurrentIndex(), kPageSaveFile);
    auto* save = static_cast<CSaveFilePage*>(sheet_.Page(kPageSaveFile));
    EXPECT_TRUE(save->PathEdit()->text().isEmpty());
    EXPECT_EQ(c.SaveFile().SelectedCount(), 5u);
    EXPECT_EQ(save->Pie()->LegendLines().back(), "Required Space : 26.56 KB");
    // An empty path and a hidden folder are refused on the page.
    sheet_.Next();
    EXPECT_EQ(prompts_.informed.back(), "Please select a folder to save the recovered files!");
    save->PathEdit()->setText(QString::fromStdString((dir_.path() / ".hidden").string()));
    sheet_.Next();
    EXPECT_EQ(prompts_.warned.back(), "Invalid path name!");
    ASSERT_EQ(sheet_.CurrentIndex(), kPageSaveFile);

    const std::filesystem::path out = dir_.path() / "recovered";
    save->PathEdit()->setText(QString::fromStdString(out.string()));
    EXPECT_TRUE(save->Pie()->LegendLines().front().startsWith("Used Space : "));
    sheet_.Next();
    ASSERT_EQ(sheet_.CurrentIndex(), kPageSaveResult);
    auto* result = static_cast<CSaveResultPage*>(sheet_.Page(kPageSaveResult));
    EXPECT_EQ(result->ResultLine()->text(), "All files are recovered successfully.");
    EXPECT_EQ(result->CountLine()->text(), "Files need to recover: 5, total recovered files: 5.");
    EXPECT_EQ(result->TargetLine()->text().toStdString(), out.string());
    ASSERT_EQ(result->Names()->count(), 1);
    const std::filesystem::path made = result->Names()->item(0)->text().toStdString();
    EXPECT_EQ(made.parent_path(), out);

    int checked = 0;
    for (const auto& [path, file] : ReadManifest()) {
        if (!file.deleted) {
            EXPECT_FALSE(std::filesystem::exists(made / path)) << path;
            continue;
        }
        ASSERT_TRUE(std::filesystem::exists(made / path)) << path;
        EXPECT_EQ(std::filesystem::file_size(made / path), file.size) << path;
        EXPECT_EQ(Sha256(made / path), file.sha256) << path;
        ++checked;
    }
    EXPECT_EQ(checked, 5);

    // "Return" shows the same tree with its ticks.
    const uint64_t generation = c.FileSelect().TreeGeneration();
    result->ReturnButton()->click();
    EXPECT_EQ(sheet_.CurrentIndex(), kPageFileSelect);
    EXPECT_EQ(c.FileSelect().TreeGeneration(), generation);
    EXPECT_EQ(Selected(), "Selected 26.56 KB in 5 files");
}

TEST_F(FileSelectPageTest, BackAsksBeforeDroppingTheTree) {
    prompts_.onAsk = [](const QString&) { return false; };
    sheet_.Back();
    EXPECT_EQ(sheet_.CurrentIndex(), kPageFileSelect);
    EXPECT_EQ(prompts_.asked, QStringList{"Are you sure to quit searching?"});
    Page()->OpenFind();
    prompts_.onAsk = [](const QString&) { return true; };
    sheet_.Back();
    EXPECT_EQ(sheet_.CurrentIndex(), kPageDeleteDevice);
    EXPECT_EQ(sheet_.Controllers().FileSelect().Tree(), nullptr);
    // The views let go of the freed tree; a find left open finds nothing instead of reading it.
    EXPECT_EQ(Page()->ListModel()->rowCount({}), 0);
    EXPECT_EQ(Page()->FolderModel()->rowCount({}), 0);
    Page()->FindDialog()->NameEdit()->setText("letter");
    EXPECT_EQ(Page()->FindDialog()->FindNext(), kFindNotHere);
}

}  // namespace
}  // namespace keldrin::ui
