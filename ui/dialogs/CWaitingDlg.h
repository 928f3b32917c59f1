// The short notice shown while the device lists are collected, or a long folder is listed.
#pragma once

#include <QDialog>

namespace keldrin::ui {

class CWaitingDlg final : public QDialog {
    Q_OBJECT
  public:
    // An empty text shows "Please wait, scanning system...".
    explicit CWaitingDlg(QWidget* parent, const QString& text = {});
    ~CWaitingDlg() override;
    // Shows the notice and lets it paint before the work starts.
    void ShowNow();
};

}  // namespace keldrin::ui
