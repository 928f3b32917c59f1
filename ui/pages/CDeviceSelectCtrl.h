// The device list of the device pages: "Device", "Capacity" and " Information".
#pragma once

#include <QTreeWidget>
#include <vector>

#include "ui/controller/CDeleteRecoveryPartitionDeviceSelectController.h"

namespace keldrin::ui {

class CDeviceSelectCtrl final : public QTreeWidget {
    Q_OBJECT
  public:
    explicit CDeviceSelectCtrl(QWidget* parent);
    void SetRows(const std::vector<DeviceRow>& rows);
    // The selected row, -1 for none.
    int SelectedRow() const;
};

}  // namespace keldrin::ui
