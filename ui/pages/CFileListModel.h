// The file list of the file-selection page: the children of one folder, one row each, with the
// cell texts made only when a row is drawn. The rows are kept as node pointers under a lock, since
// a loader thread may read them while the interface thread draws.
#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QIcon>
#include <mutex>
#include <vector>

#include "engine/model/FileNode.h"

namespace keldrin::ui {

class CFileListModel final : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit CFileListModel(QObject* parent);

    // Shows rows, the children of folder in display order (DisplayChildren).
    void SetRows(CFileNode* folder, std::vector<CFileNode*> rows);
    void Clear() { SetRows(nullptr, {}); }
    CFileNode* Folder() const { return folder_; }
    // Null out of range.
    CFileNode* NodeAt(int row) const;
    int RowOf(const CFileNode* node) const;
    // Repaints the check boxes after checks changed elsewhere.
    void RefreshChecks();

    int rowCount(const QModelIndex& parent) const override;
    int columnCount(const QModelIndex& parent) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    void sort(int column, Qt::SortOrder order) override;

  signals:
    void CheckToggled(CFileNode* node);

  private:
    QIcon IconFor(const CFileNode* node) const;

    CFileNode* folder_ = nullptr;
    mutable std::mutex mutex_;
    std::vector<CFileNode*> rows_;
    mutable QHash<QString, QIcon> icons_;  // by extension
};

}  // namespace keldrin::ui
