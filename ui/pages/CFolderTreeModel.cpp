#include "ui/pages/CFolderTreeModel.h"

#include <QApplication>
#include <QIcon>
#include <QStyle>

#include "ui/controller/FileCells.h"

namespace keldrin::ui {
namespace {

Qt::CheckState ToQt(uint8_t state) {
    return state == kChecked ? Qt::Checked : state == kPartlyChecked ? Qt::PartiallyChecked : Qt::Unchecked;
}

}  // namespace

CFolderTreeModel::CFolderTreeModel(QObject* parent) : QAbstractItemModel(parent) {}

void CFolderTreeModel::SetRoot(CFileSystemNode* top) {
    beginResetModel();
    top_ = top;
    levels_.clear();
    rows_.clear();
    endResetModel();
}

CFileNode* CFolderTreeModel::NodeAt(const QModelIndex& index) const {
    return index.isValid() ? static_cast<CFileNode*>(index.internalPointer()) : nullptr;
}

const std::vector<CFileNode*>& CFolderTreeModel::Subfolders(CFileNode* folder) const {
    const CFileNode* key = folder ? folder : top_;
    auto found = levels_.find(key);
    if (found != levels_.end()) return found->second;
    std::vector<CFileNode*>& level = levels_[key];
    level = DisplaySubfolders(key);
    for (size_t i = 0; i < level.size(); ++i) rows_[level[i]] = static_cast<int>(i);
    return level;
}

QModelIndex CFolderTreeModel::IndexOf(CFileNode* folder) const {
    if (!top_ || !folder || folder == top_) return {};
    // The chain from the top down, each level listed on the way.
    std::vector<CFileNode*> chain;
    for (CFileNode* n = folder; n && n != top_; n = n->GetParent()) chain.push_back(n);
    if (chain.empty() || chain.back()->GetParent() != top_) return {};
    QModelIndex index;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        Subfolders((*it)->GetParent() == top_ ? nullptr : (*it)->GetParent());
        auto row = rows_.find(*it);
        if (row == rows_.end()) return {};
        index = createIndex(row->second, 0, *it);
    }
    return index;
}

QModelIndex CFolderTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (!top_ || column != 0 || row < 0) return {};
    const std::vector<CFileNode*>& level = Subfolders(NodeAt(parent));
    if (static_cast<size_t>(row) >= level.size()) return {};
    return createIndex(row, 0, level[static_cast<size_t>(row)]);
}

QModelIndex CFolderTreeModel::parent(const QModelIndex& child) const {
    CFileNode* node = NodeAt(child);
    CFileNode* up = node ? node->GetParent() : nullptr;
    if (!up || up == top_) return {};
    auto row = rows_.find(up);
    return row == rows_.end() ? QModelIndex() : createIndex(row->second, 0, up);
}

int CFolderTreeModel::rowCount(const QModelIndex& parent) const {
    if (!top_ || parent.column() > 0) return 0;
    return static_cast<int>(Subfolders(NodeAt(parent)).size());
}

bool CFolderTreeModel::hasChildren(const QModelIndex& parent) const {
    if (!top_) return false;
    CFileNode* node = parent.isValid() ? NodeAt(parent) : top_;
    // Without listing the level: is any child a folder?
    for (CFileNode* child = node->GetFirstChild(); child; child = child->GetNextSibling())
        if (IsFolderNode(child)) return true;
    return false;
}

QVariant CFolderTreeModel::data(const QModelIndex& index, int role) const {
    CFileNode* node = NodeAt(index);
    const IFileProperties* p = node ? node->GetProperties() : nullptr;
    if (!p) return {};
    switch (role) {
        case Qt::DisplayRole: {
            QString text = QString::fromUtf8(p->GetName());
            if (node->IsFileSystemNode()) {
                const char* label = static_cast<CFileSystemNode*>(node)->GetDisplayName();
                if (*label && std::string_view(label) != p->GetName())
                    text += QStringLiteral(" (%1)").arg(QString::fromUtf8(label));
            }
            return text;
        }
        case Qt::DecorationRole:
            return QApplication::style()->standardIcon(node->IsFileSystemNode() ? QStyle::SP_DriveHDIcon
                                                                                : QStyle::SP_DirIcon);
        case Qt::CheckStateRole:
            return ToQt(p->GetCheckState());
        default:
            return {};
    }
}

bool CFolderTreeModel::setData(const QModelIndex& index, const QVariant&, int role) {
    CFileNode* node = NodeAt(index);
    if (role != Qt::CheckStateRole || !node) return false;
    emit CheckToggled(node);
    return true;
}

Qt::ItemFlags CFolderTreeModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
}

}  // namespace keldrin::ui
