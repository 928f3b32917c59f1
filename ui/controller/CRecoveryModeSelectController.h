// The first page: the choice of the recovery mode, handed to the file-type page.
#pragma once

#include "ui/controller/CWizardPageControllerBase.h"

namespace keldrin::ui {

class CTypeOfFileToRecoveryController;

class CRecoveryModeSelectController final : public CWizardPageControllerBase {
  public:
    CRecoveryModeSelectController(IWizardHost& host, CTypeOfFileToRecoveryController& typeOfFile);

    void SetMode(int mode) { mode_ = mode; }
    int GetMode() const { return mode_; }

    // The end of every GoHome chain.
    void GoHome() override { Enter(); }
    bool GoNext() override;

  private:
    CTypeOfFileToRecoveryController& typeOfFile_;
    int mode_ = kModeDeletedFile;
};

}  // namespace keldrin::ui
