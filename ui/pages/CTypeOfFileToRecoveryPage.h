// The file-type page: which kinds of files to look for, one of six choices.
#pragma once

#include <QButtonGroup>

#include "ui/controller/CTypeOfFileToRecoveryController.h"
#include "ui/pages/CWizardPage.h"

namespace keldrin::ui {

class CTypeOfFileToRecoveryPage final : public CWizardPage {
    Q_OBJECT
  public:
    CTypeOfFileToRecoveryPage(CTypeOfFileToRecoveryController& controller, QWidget* parent);
    void OnShow() override;

  private:
    CTypeOfFileToRecoveryController& controller_;
    QButtonGroup* choices_;
};

}  // namespace keldrin::ui
