// The copy of one file from the list's menu: the bar and the name, Cancel asked once. A cancelled
// copy leaves no partial file behind.
#pragma once

#include <QDialog>
#include <atomic>
#include <string>

#include "engine/devices/StorageDevice.h"
#include "engine/model/FileNode.h"
#include "engine/model/ProgressCallbacks.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace keldrin::ui {

class CRBClickRecoverFileDlg final : public QDialog, private IFileRecoverCallback {
    Q_OBJECT
  public:
    // Nothing is owned; device and node outlive the dialog.
    CRBClickRecoverFileDlg(IStorageDevice* device, CFileNode* node, std::string path, QWidget* parent);

    bool Succeeded() const { return succeeded_; }
    bool IsCancelled() const { return cancelled_.load(); }
    QPushButton* CancelButton() const { return cancel_; }

  public slots:
    void Cancel();

  protected:
    void showEvent(QShowEvent* event) override;
    void reject() override {}

  private:
    void Run();
    int Begin(uint32_t fileCount, uint64_t totalBytes) override;
    int AddFiles(uint32_t) override { return 1; }
    int AddBytes(uint64_t bytes) override;
    int SubtractBytes(uint32_t bytes) override;
    int SetCurrentFile(const char*) override { return 1; }
    int IsCancelled() override { return cancelled_.load() ? 1 : 0; }

    IStorageDevice* device_;
    CFileNode* node_;
    std::string path_;
    std::atomic<uint64_t> total_{0};
    std::atomic<uint64_t> done_{0};
    std::atomic<bool> cancelled_{false};
    bool started_ = false;
    bool succeeded_ = false;
    QProgressBar* bar_;
    QPushButton* cancel_;
};

}  // namespace keldrin::ui
