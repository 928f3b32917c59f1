#include "ui/controller/CWizardPageControllerBase.h"

namespace keldrin::ui {

void CWizardPageControllerBase::GoHome() {
    Release();
    if (previous_) previous_->GoHome();
}

void CWizardPageControllerBase::GoBack() {
    Release();
    if (previous_) previous_->Enter();
}

void CWizardPageControllerBase::EnterNext(IWizardPageController& next) {
    next.SetPrevious(this);
    next.Enter();
}

}  // namespace keldrin::ui
