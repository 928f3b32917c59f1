// The file-selection page: the folder tree and the file list of the found files with their check
// boxes, the statistics lines, "Find by name", "Search", and the menus with "Recovery" of one file
// and "Properties".
#pragma once

#include <QPointer>
#include <cstddef>
#include <memory>

#include "engine/model/FindByName.h"
#include "ui/controller/CFileSelectController.h"
#include "ui/dialogs/CFindFileDlg.h"
#include "ui/pages/CWizardPage.h"

class QLabel;
class QTreeView;

namespace keldrin::ui {

class CFileListModel;
class CFolderTreeModel;

class CFileSelectPage final : public CWizardPage {
    Q_OBJECT
  public:
    CFileSelectPage(CFileSelectController& controller, QWidget* parent);
    ~CFileSelectPage() override;
    void OnShow() override;

    QTreeView* FolderTree() const { return tree_; }
    QTreeView* FileList() const { return list_; }
    CFolderTreeModel* FolderModel() const { return treeModel_; }
    CFileListModel* ListModel() const { return listModel_; }
    QLabel* TotalLine() const { return total_; }
    QLabel* SelectedLine() const { return selected_; }
    CFindFileDlg* FindDialog() const { return find_; }

    // Shows folder's children in the list; above the threshold the list is made on a worker
    // under the "too many files" notice.
    void SelectFolder(CFileNode* folder);
    CFileNode* SelectedFolder() const;
    CFileNode* SelectedFile() const;
    void SelectFile(CFileNode* node);
    // A check box clicked: node and everything below it.
    void ToggleCheck(CFileNode* node);
    // "Recovery" of the file selected in the list, with its checks and the one-file dialog.
    void RecoverSelectedFile();
    void ShowProperties(const CFileNode* node);
    void OpenFind();
    // "Search"; true when it was confirmed with results.
    bool OpenSearch();
    void RefreshStatistics();
    void SetManyFilesThreshold(size_t count) { manyFiles_ = count; }

  private:
    class FindList;
    class FindTree;
    void ShowTree();
    void ListMenu(const QPoint& at);
    void TreeMenu(const QPoint& at);

    CFileSelectController& controller_;
    uint64_t shownGeneration_ = ~uint64_t{0};
    size_t manyFiles_ = 20000;
    QTreeView* tree_;
    QTreeView* list_;
    CFolderTreeModel* treeModel_;
    CFileListModel* listModel_;
    QLabel* total_;
    QLabel* selected_;
    std::unique_ptr<FindList> findList_;
    std::unique_ptr<FindTree> findTree_;
    QPointer<CFindFileDlg> find_;
};

}  // namespace keldrin::ui
