// The base of every wizard page: its controller and help context id. A page never shows another
// page; it tells its controller, which decides.
#pragma once

#include <QWidget>

#include "ui/controller/IWizardPageController.h"

namespace keldrin::ui {

class CWizardPage : public QWidget {
    Q_OBJECT
  public:
    CWizardPage(IWizardPageController* controller, int helpContextId, QWidget* parent)
        : QWidget(parent), controller_(controller), helpContextId_(helpContextId) {}

    IWizardPageController* GetController() const { return controller_; }
    int GetHelpContextId() const { return helpContextId_; }
    // Called each time the page becomes current, to show what the controller holds now.
    virtual void OnShow() {}
    // The frame's Ctrl+O.
    virtual void OnOpenImage() {}

  private:
    IWizardPageController* controller_;
    int helpContextId_;
};

// A page of a step not built yet: its title and a note.
class CPlaceholderPage final : public CWizardPage {
    Q_OBJECT
  public:
    CPlaceholderPage(IWizardPageController* controller, int helpContextId, const QString& title,
                     QWidget* parent);
};

}  // namespace keldrin::ui
