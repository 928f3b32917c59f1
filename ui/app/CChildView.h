// The client area of the main window: it holds the wizard and passes Ctrl+O on to it.
#pragma once

#include <QWidget>

namespace keldrin::ui {

class CWizardSheet;

class CChildView final : public QWidget {
    Q_OBJECT
  public:
    explicit CChildView(QWidget* parent);
    CWizardSheet* Sheet() const { return sheet_; }

  private:
    CWizardSheet* sheet_;
};

}  // namespace keldrin::ui
