// The page controllers of one wizard, one per page, wired into the chain of the Deleted File
// Recovery mode; the pages not built yet get placeholders.
#pragma once

#include <memory>

#include "ui/controller/CDeleteRecoveryPartitionDeviceSelectController.h"
#include "ui/controller/CFileSelectController.h"
#include "ui/controller/CRecoveryModeSelectController.h"
#include "ui/controller/CSaveFileController.h"
#include "ui/controller/CTypeOfFileToRecoveryController.h"
#include "ui/controller/PageIndex.h"

namespace keldrin::ui {

class CWizardControllers {
  public:
    explicit CWizardControllers(IWizardHost& host);
    ~CWizardControllers();

    IWizardPageController* Controller(int pageIndex) const;
    CRecoveryModeSelectController& ModeSelect() { return *modeSelect_; }
    CTypeOfFileToRecoveryController& TypeOfFile() { return *typeOfFile_; }
    CDeleteRecoveryPartitionDeviceSelectController& DeleteDevice() { return *deleteDevice_; }
    CFileSelectController& FileSelect() { return *fileSelect_; }
    CSaveFileController& SaveFile() { return *saveFile_; }
    CSaveResultController& SaveResult() { return *saveResult_; }

    // The frame's buttons, on the controller of the current page.
    void Home(int currentPage);
    void Back(int currentPage);
    bool Next(int currentPage);

  private:
    std::unique_ptr<CSaveResultController> saveResult_;
    std::unique_ptr<CSaveFileController> saveFile_;
    std::unique_ptr<CFileSelectController> fileSelect_;
    std::unique_ptr<CDeleteRecoveryPartitionDeviceSelectController> deleteDevice_;
    std::unique_ptr<IWizardPageController> placeholders_[kPageCount];
    std::unique_ptr<CTypeOfFileToRecoveryController> typeOfFile_;
    std::unique_ptr<CRecoveryModeSelectController> modeSelect_;
};

}  // namespace keldrin::ui
