// The "Building directory" dialog of a tree build: the phase text, a bar and Cancel, which asks
// "Abort Building?" once and then lets the build stop at its next callback.
#pragma once

#include <QDialog>
#include <atomic>

#include "engine/model/ProgressCallbacks.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace keldrin::ui {

class CBuildDirectoryDlg final : public QDialog {
    Q_OBJECT
  public:
    explicit CBuildDirectoryDlg(QWidget* parent);

    bool IsCancelled() const { return cancelled_.load(); }
    // Saving the scan state cannot be interrupted: then Cancel does nothing.
    void HideCancel();
    QPushButton* CancelButton() const { return cancel_; }

  public slots:
    void BeginPhase(const QString& text, qint64 total);
    void SetPosition(qint64 position);
    void Finish();
    void Cancel();

  protected:
    // Escape comes here and means Cancel; the dialog is closed only by its owner.
    void reject() override { Cancel(); }
    void closeEvent(QCloseEvent* event) override;

  private:
    QLabel* status_;
    QProgressBar* bar_;
    QPushButton* cancel_;
    qint64 total_ = 0;
    bool asking_ = false;
    std::atomic<bool> cancelled_{false};
};

// The build's progress, sent from the worker to the dialog on the interface thread. Updates of the
// bar are sent at most every 50 ms, however often the builder steps.
class CDIRBuildCallback final : public IDIRBuildCallback {
  public:
    explicit CDIRBuildCallback(CBuildDirectoryDlg* dialog) : dialog_(dialog) {}

    int BeginPhase(const char* text, int64_t total) override;
    int Step(int64_t count) override;
    int SetPosition(int64_t position) override;
    int Finish() override;
    int IsCancelled() override;

  private:
    void SendPosition(bool force);

    CBuildDirectoryDlg* dialog_;
    int64_t position_ = 0;
    int64_t lastSentMs_ = 0;
    int64_t calls_ = 0;
};

}  // namespace keldrin::ui
