// The first page: three large buttons, one per recovery mode.
#pragma once

#include <QPushButton>

#include "ui/controller/CRecoveryModeSelectController.h"
#include "ui/pages/CWizardPage.h"

namespace keldrin::ui {

class CRecoveryModeSelectPage final : public CWizardPage {
    Q_OBJECT
  public:
    CRecoveryModeSelectPage(CRecoveryModeSelectController& controller, QWidget* parent);
    QPushButton* ModeButton(int mode) const { return buttons_[mode]; }

  private:
    CRecoveryModeSelectController& controller_;
    QPushButton* buttons_[3];
};

}  // namespace keldrin::ui
