// The short notice shown while the device lists are collected on the interface thread.
#pragma once

#include <QDialog>

namespace keldrin::ui {

class CWaitingDlg final : public QDialog {
    Q_OBJECT
  public:
    explicit CWaitingDlg(QWidget* parent);
    ~CWaitingDlg() override;
    // Shows the notice and lets it paint before the work starts.
    void ShowNow();
};

}  // namespace keldrin::ui
