#include "ui/pages/CDeviceSelectCtrl.h"

#include <QHeaderView>

#include "ui/app/Prompts.h"

namespace keldrin::ui {
namespace {

QIcon RowIcon(int icon) {
    switch (icon) {
        case kIconFloppy:
            return QIcon(":/pictures/icon_floppy.svg");
        case kIconImage:
            return QIcon(":/pictures/icon_image.svg");
        case kIconUsb:
            return QIcon(":/pictures/icon_usb.svg");
        default:
            return QIcon(":/pictures/icon_disk.svg");
    }
}

}  // namespace

CDeviceSelectCtrl::CDeviceSelectCtrl(QWidget* parent) : QTreeWidget(parent) {
    setObjectName("deviceList");
    setColumnCount(3);
    setHeaderLabels({Tr("Device"), Tr("Capacity"), Tr(" Information")});
    setColumnWidth(0, 250);
    setColumnWidth(1, 150);
    setColumnWidth(2, 290);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setIconSize(QSize(20, 20));
    // Keeps the file-system name at the end of a long row visible.
    setTextElideMode(Qt::ElideMiddle);
    header()->setStretchLastSection(true);
}

void CDeviceSelectCtrl::SetRows(const std::vector<DeviceRow>& rows) {
    clear();
    for (const DeviceRow& row : rows) {
        auto* item = new QTreeWidgetItem(this);
        QString device = QString::fromStdString(row.device);
        // The one fixed word of an image row is ours; the rest are names.
        if (row.isImage && device.startsWith("Image File, ")) device = Tr("Image File, ") + device.mid(12);
        item->setText(0, device);
        item->setText(1, QString::fromStdString(row.capacity));
        item->setText(2, QString::fromStdString(row.information));
        item->setIcon(0, RowIcon(row.icon));
        item->setToolTip(0, device);
    }
}

int CDeviceSelectCtrl::SelectedRow() const {
    const QList<QTreeWidgetItem*> items = selectedItems();
    return items.isEmpty() ? -1 : indexOfTopLevelItem(items.front());
}

}  // namespace keldrin::ui
