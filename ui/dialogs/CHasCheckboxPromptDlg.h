// A tip with a "Do not show this again" box.
#pragma once

#include <QDialog>

class QCheckBox;

namespace keldrin::ui {

class CHasCheckboxPromptDlg final : public QDialog {
    Q_OBJECT
  public:
    CHasCheckboxPromptDlg(const QString& text, QWidget* parent);
    bool DoNotShowAgain() const;

  private:
    QCheckBox* box_;
};

}  // namespace keldrin::ui
