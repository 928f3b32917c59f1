#include "ui/controller/CRecoveryModeSelectController.h"

#include "ui/controller/CTypeOfFileToRecoveryController.h"
#include "ui/controller/PageIndex.h"

namespace keldrin::ui {

CRecoveryModeSelectController::CRecoveryModeSelectController(IWizardHost& host,
                                                             CTypeOfFileToRecoveryController& typeOfFile)
    : CWizardPageControllerBase(host, kPageModeSelect), typeOfFile_(typeOfFile) {}

bool CRecoveryModeSelectController::GoNext() {
    typeOfFile_.SetMode(mode_);
    EnterNext(typeOfFile_);
    return true;
}

}  // namespace keldrin::ui
