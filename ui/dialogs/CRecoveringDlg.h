// The "Recovering" dialog: copies the checked files below a selection root into the destination,
// with the counts, the sizes and the current name refreshed at most once a second.
#pragma once

#include <QDialog>
#include <QStringList>
#include <atomic>
#include <mutex>
#include <string>

#include "engine/devices/StorageDevice.h"
#include "engine/model/FileSystemNode.h"
#include "engine/model/ProgressCallbacks.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace keldrin::ui {

class CRecoveringDlg;

// The writer's progress, from its worker thread to the dialog on the interface thread.
class CFileRecoverCallback final : public IFileRecoverCallback {
  public:
    explicit CFileRecoverCallback(CRecoveringDlg& dialog) : dialog_(dialog) {}

    int Begin(uint32_t fileCount, uint64_t totalBytes) override;
    int AddFiles(uint32_t count) override;
    int AddBytes(uint64_t bytes) override;
    int SubtractBytes(uint32_t bytes) override;
    int SetCurrentFile(const char* name) override;
    int IsCancelled() override;

  private:
    CRecoveringDlg& dialog_;
};

class CRecoveringDlg final : public QDialog {
    Q_OBJECT
  public:
    // Neither root nor device is owned; both outlive the dialog.
    CRecoveringDlg(CFileSystemNode* root, IStorageDevice* device, std::string destination, QWidget* parent);

    uint32_t SelectedFiles() const { return selected_; }
    uint32_t RecoveredFiles() const { return recovered_.load(); }
    int64_t BytesDone() const { return bytesDone_.load(); }
    // The folders the writer made, one per recovered tree.
    const QStringList& ResultFolders() const { return folders_; }
    bool IsCancelled() const { return cancelled_.load(); }
    QPushButton* CancelButton() const { return cancel_; }
    int BarMaximum() const;

  public slots:
    void Cancel();

  protected:
    void showEvent(QShowEvent* event) override;
    // Enter and Escape never close the dialog: it ends when the copy returns.
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override {}

  private:
    friend class CFileRecoverCallback;
    void Run();
    // From any thread: refreshes when more than a second has passed since the last refresh.
    void RefreshWhenDue(bool textsOnly = false);
    void Refresh(bool textsOnly);

    CFileSystemNode* root_;
    IStorageDevice* device_;
    std::string destination_;
    CFileRecoverCallback callback_{*this};
    uint32_t selected_ = 0;
    int64_t total_ = 0;
    std::atomic<uint32_t> recovered_{0};
    std::atomic<int64_t> bytesDone_{0};
    std::atomic<bool> cancelled_{false};
    std::atomic<int64_t> lastRefreshMs_{0};
    std::mutex nameMutex_;
    std::string currentName_;  // written by the worker, read by the refreshes
    QStringList folders_;
    bool started_ = false;
    QLabel* recoveredText_;
    QLabel* selectedText_;
    QLabel* doneText_;
    QLabel* totalText_;
    QLabel* nameText_;
    QProgressBar* bar_;
    QPushButton* cancel_;
    QTimer* timer_;
};

}  // namespace keldrin::ui
