// The main window: a client area of at least 760 × 496 holding the wizard, no maximise button, and a
// question before it closes.
#pragma once

#include <QMainWindow>

namespace keldrin::ui {

class CChildView;
class CWizardSheet;

inline constexpr int kClientWidth = 760;
inline constexpr int kClientHeight = 496;

class CMainFrame final : public QMainWindow {
    Q_OBJECT
  public:
    CMainFrame();
    CWizardSheet* Sheet() const;
    // The question asked before closing, which depends on the page and the mode.
    QString ClosingQuestion() const;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    CChildView* view_;
};

}  // namespace keldrin::ui
