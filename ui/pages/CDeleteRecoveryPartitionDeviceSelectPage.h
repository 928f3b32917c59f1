// The device page of the Deleted File Recovery mode.
#pragma once

#include <functional>

#include "ui/controller/CDeleteRecoveryPartitionDeviceSelectController.h"
#include "ui/pages/CDeviceSelectCtrl.h"
#include "ui/pages/CWizardPage.h"

class QAction;

namespace keldrin::ui {

class CDeleteRecoveryPartitionDeviceSelectPage final : public CWizardPage {
    Q_OBJECT
  public:
    // next is the frame's Next, for the double click and the "Recover" menu entry.
    CDeleteRecoveryPartitionDeviceSelectPage(CDeleteRecoveryPartitionDeviceSelectController& controller,
                                             std::function<void()> next, QWidget* parent);
    void OnShow() override;
    void OnOpenImage() override;
    CDeviceSelectCtrl* List() const { return list_; }
    // Opens the image at path as the dialog would; false when it holds nothing to list.
    bool OpenImagePath(const QString& path);
    // Takes the selected image off the list.
    void DeleteImage();

  private:
    void Reload();

    CDeleteRecoveryPartitionDeviceSelectController& controller_;
    std::function<void()> next_;
    CDeviceSelectCtrl* list_;
    QAction* deleteImage_;
};

}  // namespace keldrin::ui
