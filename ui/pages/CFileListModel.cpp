#include "ui/pages/CFileListModel.h"

#include <QApplication>
#include <QMimeDatabase>
#include <QStyle>

#include "ui/app/Prompts.h"
#include "ui/controller/FileCells.h"

namespace keldrin::ui {

CFileListModel::CFileListModel(QObject* parent) : QAbstractTableModel(parent) {}

void CFileListModel::SetRows(CFileNode* folder, std::vector<CFileNode*> rows) {
    beginResetModel();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        folder_ = folder;
        rows_ = std::move(rows);
    }
    endResetModel();
}

CFileNode* CFileListModel::NodeAt(int row) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return row >= 0 && static_cast<size_t>(row) < rows_.size() ? rows_[static_cast<size_t>(row)] : nullptr;
}

int CFileListModel::RowOf(const CFileNode* node) const {
    std::lock_guard<std::mutex> lock(mutex_);
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i] == node) return static_cast<int>(i);
    return -1;
}

void CFileListModel::RefreshChecks() {
    const int count = rowCount({});
    if (count > 0) emit dataChanged(index(0, 0), index(count - 1, 0), {Qt::CheckStateRole});
}

int CFileListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(std::min<size_t>(rows_.size(), INT32_MAX));
}

int CFileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kFileListColumnCount;
}

QIcon CFileListModel::IconFor(const CFileNode* node) const {
    if (IsFolderNode(node)) return QApplication::style()->standardIcon(QStyle::SP_DirIcon);
    const QString name = QString::fromUtf8(node->GetProperties()->GetName());
    const qsizetype dot = name.lastIndexOf('.');
    const QString extension = dot >= 0 ? name.mid(dot).toLower() : QString();
    auto found = icons_.constFind(extension);
    if (found != icons_.constEnd()) return *found;
    static const QMimeDatabase mimes;
    const QMimeType type = mimes.mimeTypeForFile(name, QMimeDatabase::MatchExtension);
    const QIcon fallback = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    QIcon icon = QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName(), fallback));
    icons_.insert(extension, icon);
    return icon;
}

QVariant CFileListModel::data(const QModelIndex& index, int role) const {
    CFileNode* node = NodeAt(index.row());
    const IFileProperties* p = node ? node->GetProperties() : nullptr;
    if (!p) return {};
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(CellText(p, index.column()));
        case Qt::DecorationRole:
            return index.column() == kColumnName ? QVariant(IconFor(node)) : QVariant();
        case Qt::CheckStateRole:
            if (index.column() != kColumnName) return {};
            return p->GetCheckState() == kChecked         ? Qt::Checked
                   : p->GetCheckState() == kPartlyChecked ? Qt::PartiallyChecked
                                                          : Qt::Unchecked;
        case Qt::TextAlignmentRole:
            return index.column() == kColumnSize ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
        default:
            return {};
    }
}

bool CFileListModel::setData(const QModelIndex& index, const QVariant&, int role) {
    CFileNode* node = NodeAt(index.row());
    if (role != Qt::CheckStateRole || index.column() != kColumnName || !node) return false;
    emit CheckToggled(node);
    return true;
}

QVariant CFileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return Tr(FileListColumnTitle(section));
}

Qt::ItemFlags CFileListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == kColumnName) flags |= Qt::ItemIsUserCheckable;
    return flags;
}

void CFileListModel::sort(int column, Qt::SortOrder order) {
    emit layoutAboutToBeChanged();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        SortForDisplay(rows_, column, order == Qt::AscendingOrder);
    }
    emit layoutChanged();
}

}  // namespace keldrin::ui
