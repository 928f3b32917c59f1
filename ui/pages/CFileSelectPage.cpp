#include "ui/pages/CFileSelectPage.h"

#include <sys/stat.h>

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMimeDatabase>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <cstdio>
#include <filesystem>

#include "platform/DriveSpace.h"
#include "platform/Worker.h"
#include "ui/app/Prompts.h"
#include "ui/controller/FileCells.h"
#include "ui/controller/Format.h"
#include "ui/controller/Messages.h"
#include "ui/controller/PageIndex.h"
#include "ui/dialogs/CFindFileDlg.h"
#include "ui/dialogs/CPropertiesDlg.h"
#include "ui/dialogs/CSearchFileDlg.h"
#include "ui/dialogs/CSingleFileCopyDlg.h"
#include "ui/dialogs/CWaitingDlg.h"
#include "ui/pages/CFileListModel.h"
#include "ui/pages/CFolderTreeModel.h"

namespace keldrin::ui {

// The list as "Find file by name" walks it.
class CFileSelectPage::FindList final : public IFindFileList {
  public:
    explicit FindList(CFileSelectPage& page) : page_(page) {}
    size_t GetCount() const override { return static_cast<size_t>(page_.listModel_->rowCount({})); }
    CFileNode* GetEntry(size_t index) const override {
        return index > INT32_MAX ? nullptr : page_.listModel_->NodeAt(static_cast<int>(index));
    }
    ptrdiff_t GetSelected() const override {
        const QModelIndex current = page_.list_->currentIndex();
        return current.isValid() && page_.list_->selectionModel()->isSelected(current) ? current.row() : -1;
    }
    void Select(size_t index) override { page_.SelectFile(GetEntry(index)); }

  private:
    CFileSelectPage& page_;
};

// The folder tree as "Find file by name" walks it: in display order.
class CFileSelectPage::FindTree final : public IFindFolderTree {
  public:
    explicit FindTree(CFileSelectPage& page) : page_(page) {}
    CFileNode* GetTop() const override {
        const auto& top = page_.treeModel_->Subfolders(nullptr);
        return top.empty() ? nullptr : top.front();
    }
    CFileNode* GetSelectedFolder() const override { return page_.SelectedFolder(); }
    CFileNode* GetFirstSubfolder(CFileNode* folder) const override {
        const auto& level = page_.treeModel_->Subfolders(folder);
        return level.empty() ? nullptr : level.front();
    }
    CFileNode* GetNextSibling(CFileNode* folder) const override {
        CFileNode* parent = GetParent(folder);
        const auto& level = page_.treeModel_->Subfolders(parent);
        for (size_t i = 0; i + 1 < level.size(); ++i)
            if (level[i] == folder) return level[i + 1];
        return nullptr;
    }
    CFileNode* GetParent(CFileNode* folder) const override {
        CFileNode* up = folder ? folder->GetParent() : nullptr;
        return up == page_.treeModel_->Root() ? nullptr : up;
    }
    void SelectFolder(CFileNode* folder) override { page_.SelectFolder(folder); }

  private:
    CFileSelectPage& page_;
};

CFileSelectPage::CFileSelectPage(CFileSelectController& controller, QWidget* parent)
    : CWizardPage(&controller, HelpContextId(kPageFileSelect), parent),
      controller_(controller),
      findList_(std::make_unique<FindList>(*this)),
      findTree_(std::make_unique<FindTree>(*this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 8, 12, 4);
    layout->setSpacing(2);
    auto* tabs = new QTabWidget(this);
    auto* files = new QWidget(tabs);
    auto* filesLayout = new QVBoxLayout(files);
    filesLayout->setContentsMargins(4, 4, 4, 4);
    auto* splitter = new QSplitter(Qt::Horizontal, files);
    splitter->setObjectName("fileSelectSplitter");
    tree_ = new QTreeView(splitter);
    tree_->setObjectName("folderTree");
    tree_->setHeaderHidden(true);
    tree_->setUniformRowHeights(true);
    tree_->setContextMenuPolicy(Qt::CustomContextMenu);
    treeModel_ = new CFolderTreeModel(this);
    tree_->setModel(treeModel_);
    list_ = new QTreeView(splitter);
    list_->setObjectName("fileList");
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    list_->setSortingEnabled(true);
    listModel_ = new CFileListModel(this);
    list_->setModel(listModel_);
    list_->header()->setSortIndicator(kColumnName, Qt::AscendingOrder);
    for (int c = 0; c < kFileListColumnCount; ++c) list_->setColumnWidth(c, FileListColumnWidth(c));
    splitter->setSizes({200, 520});
    splitter->setStretchFactor(1, 1);
    filesLayout->addWidget(splitter);
    tabs->addTab(files, Tr("Files"));

    auto* corner = new QWidget(tabs);
    auto* cornerLayout = new QHBoxLayout(corner);
    cornerLayout->setContentsMargins(0, 0, 0, 2);
    auto* findButton = new QPushButton(Tr("Find by name"), corner);
    findButton->setObjectName("findByName");
    auto* searchButton = new QPushButton(Tr("Search"), corner);
    searchButton->setObjectName("searchFiles");
    auto* view = new QToolButton(corner);
    view->setText(Tr("View"));
    view->setPopupMode(QToolButton::InstantPopup);
    auto* viewMenu = new QMenu(view);
    QAction* listView = viewMenu->addAction(Tr("List"));
    listView->setCheckable(true);
    listView->setChecked(true);
    view->setMenu(viewMenu);
    cornerLayout->addWidget(findButton);
    cornerLayout->addWidget(searchButton);
    cornerLayout->addWidget(view);
    tabs->setCornerWidget(corner, Qt::TopRightCorner);
    layout->addWidget(tabs, 1);

    total_ = new QLabel(this);
    total_->setObjectName("totalLine");
    selected_ = new QLabel(this);
    selected_->setObjectName("selectedLine");
    layout->addWidget(total_);
    layout->addWidget(selected_);

    // The views hold nodes of the tree: they let go before it is freed.
    controller_.SetTreeListener([this] {
        if (find_) {
            find_->Reset();
            find_->hide();
        }
        listModel_->Clear();
        treeModel_->SetRoot(nullptr);
    });
    connect(findButton, &QPushButton::clicked, this, &CFileSelectPage::OpenFind);
    connect(searchButton, &QPushButton::clicked, this, [this] { OpenSearch(); });
    connect(treeModel_, &CFolderTreeModel::CheckToggled, this, &CFileSelectPage::ToggleCheck);
    connect(listModel_, &CFileListModel::CheckToggled, this, &CFileSelectPage::ToggleCheck);
    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (CFileNode* folder = treeModel_->NodeAt(current); folder && folder != listModel_->Folder())
                    SelectFolder(folder);
            });
    connect(list_, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
        CFileNode* node = listModel_->NodeAt(index.row());
        if (IsFolderNode(node)) SelectFolder(node);
    });
    connect(list_, &QWidget::customContextMenuRequested, this, &CFileSelectPage::ListMenu);
    connect(tree_, &QWidget::customContextMenuRequested, this, &CFileSelectPage::TreeMenu);
}

CFileSelectPage::~CFileSelectPage() {
    controller_.SetTreeListener({});
}

void CFileSelectPage::OnShow() {
    // Back from the saving or result page the same tree stays as the user left it.
    if (shownGeneration_ != controller_.TreeGeneration()) ShowTree();
    RefreshStatistics();
}

void CFileSelectPage::ShowTree() {
    shownGeneration_ = controller_.TreeGeneration();
    if (find_) find_->Reset();
    listModel_->Clear();
    treeModel_->SetRoot(controller_.TopRoot());
    const auto& top = treeModel_->Subfolders(nullptr);
    if (top.empty()) return;
    const QModelIndex first = treeModel_->IndexOf(top.front());
    tree_->expand(first);
    tree_->setCurrentIndex(first);
    SelectFolder(top.front());
}

void CFileSelectPage::RefreshStatistics() {
    const SelectionStatistics stats = controller_.Statistics();
    total_->setText(Tr("Total %1 in %2 files")
                        .arg(QString::fromStdString(FormatSize(static_cast<int64_t>(stats.totalSize))))
                        .arg(stats.files));
    if (stats.checkedFiles == 0)
        selected_->setText(Tr("Nothing selected"));
    else
        selected_->setText(
            Tr("Selected %1 in %2 files")
                .arg(QString::fromStdString(FormatSize(static_cast<int64_t>(stats.checkedSize))))
                .arg(stats.checkedFiles));
}

void CFileSelectPage::SelectFolder(CFileNode* folder) {
    if (!folder) return;
    const QModelIndex index = treeModel_->IndexOf(folder);
    if (index.isValid() && tree_->currentIndex() != index) {
        QSignalBlocker block(tree_->selectionModel());
        tree_->setCurrentIndex(index);
        tree_->scrollTo(index);
    }
    size_t count = 0;
    for (CFileNode* c = folder->GetFirstChild(); c && count <= manyFiles_; c = c->GetNextSibling()) ++count;
    const int column = list_->header()->sortIndicatorSection();
    const bool ascending = list_->header()->sortIndicatorOrder() == Qt::AscendingOrder;
    std::vector<CFileNode*> rows;
    if (count > manyFiles_) {
        CWaitingDlg waiting(window(), Tr(msg::kTooManyFiles));
        waiting.ShowNow();
        platform::RunWorker([&] { rows = DisplayChildren(folder, column, ascending); });
    } else {
        rows = DisplayChildren(folder, column, ascending);
    }
    listModel_->SetRows(folder, std::move(rows));
    RefreshStatistics();
}

CFileNode* CFileSelectPage::SelectedFolder() const {
    return listModel_->Folder();
}

CFileNode* CFileSelectPage::SelectedFile() const {
    const ptrdiff_t row = findList_->GetSelected();
    return row < 0 ? nullptr : listModel_->NodeAt(static_cast<int>(row));
}

void CFileSelectPage::SelectFile(CFileNode* node) {
    const int row = listModel_->RowOf(node);
    if (row < 0) return;
    const QModelIndex index = listModel_->index(row, 0);
    list_->setCurrentIndex(index);
    list_->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    list_->scrollTo(index);
}

void CFileSelectPage::ToggleCheck(CFileNode* node) {
    CFileSystemNode* top = controller_.TopRoot();
    if (!top || !node) return;
    top->ToggleCheck(node, false);
    listModel_->RefreshChecks();
    tree_->viewport()->update();
    RefreshStatistics();
}

void CFileSelectPage::RecoverSelectedFile() {
    CFileNode* node = SelectedFile();
    const IFileProperties* p = node ? node->GetProperties() : nullptr;
    if (!p || IsFolderNode(node)) {
        GetPrompts().inform(window(), Tr(msg::kSelectFileToRecover));
        return;
    }
    const QString name = QString::fromUtf8(p->GetName());
    const qsizetype dot = name.lastIndexOf('.');
    const QString extension = dot > 0 ? name.mid(dot) : QString();
    QString filter = Tr("All Files (*)");
    if (!extension.isEmpty()) {
        static const QMimeDatabase mimes;
        QString type = mimes.mimeTypeForFile(name, QMimeDatabase::MatchExtension).comment();
        filter = QStringLiteral("%1 (*%2);;").arg(type, extension) + filter;
    }
    const QString chosen = GetPrompts().savePath(window(), name, filter);
    if (chosen.isEmpty()) return;
    const std::string path = chosen.toStdString();
    const std::string folder = std::filesystem::path(path).parent_path().string();
    if (controller_.IsSameDrive(folder) && !GetPrompts().ask(window(), Tr(msg::kSameDrive))) return;
    const platform::DriveSpace space = platform::QueryDriveSpace(folder);
    if (!space.known || space.available < p->GetFileSize()) {
        GetPrompts().warn(window(), Tr(msg::kFreeSpaceShortOneFile));
        return;
    }
    CRBClickRecoverFileDlg dialog(controller_.GetDevice(), node, path, window());
    dialog.exec();
    // The writer may have made the copy read-only like its source; the user's copy is an ordinary
    // file. A cancelled copy is not kept.
    struct stat st {};
    if (stat(path.c_str(), &st) == 0) chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR);
    if (dialog.WasCancelled()) std::remove(path.c_str());
}

void CFileSelectPage::ShowProperties(const CFileNode* node) {
    if (!node) return;
    CPropertiesDlg dialog(node, window());
    dialog.exec();
}

void CFileSelectPage::OpenFind() {
    if (!find_) find_ = new CFindFileDlg(*findList_, findTree_.get(), this);
    find_->show();
    find_->raise();
    find_->activateWindow();
}

bool CFileSelectPage::OpenSearch() {
    CFileSystemNode* top = controller_.TopRoot();
    if (!top) return false;
    CSearchFileDlg dialog(top, SelectedFolder(), window());
    const bool confirmed = dialog.exec() == QDialog::Accepted;
    // The matches are not listed; with "Auto select files" they are ticked.
    listModel_->RefreshChecks();
    tree_->viewport()->update();
    RefreshStatistics();
    return confirmed;
}

void CFileSelectPage::ListMenu(const QPoint& at) {
    const QModelIndex index = list_->indexAt(at);
    if (!index.isValid()) return;
    SelectFile(listModel_->NodeAt(index.row()));
    QMenu menu(this);
    menu.addAction(Tr("Recovery"), this, &CFileSelectPage::RecoverSelectedFile);
    menu.addAction(Tr("Properties"), this, [this] { ShowProperties(SelectedFile()); });
    menu.exec(list_->viewport()->mapToGlobal(at));
}

void CFileSelectPage::TreeMenu(const QPoint& at) {
    CFileNode* node = treeModel_->NodeAt(tree_->indexAt(at));
    if (!node) return;
    QMenu menu(this);
    menu.addAction(Tr("Properties"), this, [this, node] { ShowProperties(node); });
    menu.exec(tree_->viewport()->mapToGlobal(at));
}

}  // namespace keldrin::ui
