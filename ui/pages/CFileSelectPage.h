// The file-selection page, for now only what was found: the count and size of the deleted files.
#pragma once

#include "ui/controller/CFileSelectController.h"
#include "ui/pages/CWizardPage.h"

class QLabel;

namespace keldrin::ui {

class CFileSelectPage final : public CWizardPage {
    Q_OBJECT
  public:
    CFileSelectPage(CFileSelectController& controller, QWidget* parent);
    void OnShow() override;

  private:
    CFileSelectController& controller_;
    QLabel* summary_;
};

}  // namespace keldrin::ui
