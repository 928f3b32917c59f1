// The folder tree of the file-selection page over a recovered-file tree. Levels are listed when a
// view first asks for them, so a tree of a million files opens at once; the tree itself is never
// reordered, each level is sorted for display only.
#pragma once

#include <QAbstractItemModel>
#include <unordered_map>
#include <vector>

#include "engine/model/FileSystemNode.h"

namespace keldrin::ui {

class CFolderTreeModel final : public QAbstractItemModel {
    Q_OBJECT
  public:
    explicit CFolderTreeModel(QObject* parent);

    // The top "Root" whose folders are shown; null shows nothing. Not owned.
    void SetRoot(CFileSystemNode* top);
    CFileSystemNode* Root() const { return top_; }
    CFileNode* NodeAt(const QModelIndex& index) const;
    // The index of a folder below the root, listing the levels above it as needed; invalid for a
    // node that is not shown.
    QModelIndex IndexOf(CFileNode* folder) const;
    // The subfolders of folder in display order (the top's for null).
    const std::vector<CFileNode*>& Subfolders(CFileNode* folder) const;

    QModelIndex index(int row, int column, const QModelIndex& parent) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent) const override;
    int columnCount(const QModelIndex&) const override { return 1; }
    bool hasChildren(const QModelIndex& parent) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  signals:
    // The user clicked a folder's check box.
    void CheckToggled(CFileNode* node);

  private:
    CFileSystemNode* top_ = nullptr;
    mutable std::unordered_map<const CFileNode*, std::vector<CFileNode*>> levels_;
    mutable std::unordered_map<const CFileNode*, int> rows_;  // a folder's row in its parent's level
};

}  // namespace keldrin::ui
