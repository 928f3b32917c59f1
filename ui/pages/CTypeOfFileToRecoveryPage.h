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
    // Up and Down move the choice one button, stopping at the first and the last.
    void MoveChoice(int step);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    CTypeOfFileToRecoveryController& controller_;
    QButtonGroup* choices_;
};

}  // namespace keldrin::ui
