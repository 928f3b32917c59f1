// The result page: "Report", how many of the selected files were recovered and where, the folders
// the copy made, and "Return" to the same tree.
#pragma once

#include "ui/controller/CSaveFileController.h"
#include "ui/pages/CWizardPage.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace keldrin::ui {

class CSaveResultPage final : public CWizardPage {
    Q_OBJECT
  public:
    CSaveResultPage(CSaveResultController& controller, const CSaveFileController& save, QWidget* parent);
    void OnShow() override;

    QLabel* ResultLine() const { return result_; }
    QLabel* CountLine() const { return count_; }
    QLabel* TargetLine() const { return target_; }
    QListWidget* Names() const { return names_; }
    QPushButton* ReturnButton() const { return return_; }

  private:
    const CSaveFileController& save_;
    QLabel* result_;
    QLabel* count_;
    QLabel* target_;
    QListWidget* names_;
    QPushButton* return_;
};

}  // namespace keldrin::ui
