// The copy of one file under a small dialog: its name, "Process:" with the percent, "Remaining
// Time:" and the bar, "Abort" without a question. The list's "Recovery" and the preview's loading
// differ only in their texts.
#pragma once

#include <QDialog>
#include <atomic>
#include <mutex>
#include <string>

#include "engine/devices/StorageDevice.h"
#include "engine/model/FileNode.h"
#include "engine/model/ProgressCallbacks.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace keldrin::ui {

class CSingleFileCopyDlg : public QDialog, private IFileRecoverCallback {
    Q_OBJECT
  public:
    struct Texts {
        const char* caption;
        const char* firstLine;  // the name line until the copy names the file
        const char* failure;    // shown when the copy failed, not when it was cancelled
        bool failureIsWarning;
        bool showName;  // the name line follows the copied file
    };

    // Nothing is owned; device and node outlive the dialog. Ends with Accepted when the file was
    // written.
    CSingleFileCopyDlg(const Texts& texts, IStorageDevice* device, CFileNode* node, std::string path,
                       QWidget* parent);

    bool WasCancelled() const { return cancelled_.load(); }
    QLabel* PercentText() const { return percent_; }

  public slots:
    void Abort();

  protected:
    void showEvent(QShowEvent* event) override;
    void reject() override {}
    // Runs while the file is copied; the preview holds its lock here.
    virtual bool Copy(IFileRecoverCallback* callback, IStorageDevice* device, CFileNode* node,
                      const std::string& path);

  private:
    void Run();
    void Update(bool textsOnly);
    void UpdateWhenDue(bool textsOnly);
    int Begin(uint32_t fileCount, uint64_t totalBytes) override;
    int AddFiles(uint32_t count) override;
    int AddBytes(uint64_t bytes) override;
    int SubtractBytes(uint32_t bytes) override;
    int SetCurrentFile(const char* name) override;
    int IsCancelled() override;

    Texts texts_;
    IStorageDevice* device_;
    CFileNode* node_;
    std::string path_;
    std::atomic<uint64_t> total_{0};
    std::atomic<uint64_t> done_{0};
    std::atomic<bool> cancelled_{false};
    std::atomic<int64_t> startMs_{0};
    std::atomic<int64_t> lastMs_{0};
    std::mutex nameMutex_;
    std::string name_;
    bool started_ = false;
    QLabel* nameLine_;
    QLabel* percent_;
    QLabel* remaining_;
    QProgressBar* bar_;
    QPushButton* abort_;
};

// "Recovery" of one file from the file list.
class CRBClickRecoverFileDlg final : public CSingleFileCopyDlg {
    Q_OBJECT
  public:
    CRBClickRecoverFileDlg(IStorageDevice* device, CFileNode* node, std::string path, QWidget* parent);
};

// The copy of a file to a temporary place for its preview; the lock is held while it runs.
class CPreviewLoadingDlg final : public CSingleFileCopyDlg {
    Q_OBJECT
  public:
    CPreviewLoadingDlg(IStorageDevice* device, CFileNode* node, std::string path, QWidget* parent);
    std::mutex& Lock() { return lock_; }

  protected:
    bool Copy(keldrin::IFileRecoverCallback* callback, IStorageDevice* device, CFileNode* node,
              const std::string& path) override;

  private:
    std::mutex lock_;
};

}  // namespace keldrin::ui
