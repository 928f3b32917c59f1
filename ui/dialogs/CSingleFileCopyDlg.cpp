#include "ui/dialogs/CSingleFileCopyDlg.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include "engine/model/FileProperties.h"
#include "engine/output/RecoverJobs.h"
#include "ui/app/Prompts.h"
#include "ui/controller/Format.h"

namespace keldrin::ui {
namespace {

constexpr int64_t kDueMs = 500;

}  // namespace

CSingleFileCopyDlg::CSingleFileCopyDlg(const Texts& texts, IStorageDevice* device, CFileNode* node,
                                       std::string path, QWidget* parent)
    : QDialog(parent), texts_(texts), device_(device), node_(node), path_(std::move(path)) {
    setObjectName("singleFileCopy");
    setWindowTitle(Tr(texts.caption));
    setModal(true);
    auto* layout = new QGridLayout(this);
    nameLine_ = new QLabel(Tr(texts.firstLine), this);
    nameLine_->setMinimumWidth(340);
    layout->addWidget(nameLine_, 0, 0, 1, 2);
    layout->addWidget(new QLabel(Tr("Process:"), this), 1, 0);
    percent_ = new QLabel(this);
    percent_->setObjectName("percent");
    layout->addWidget(percent_, 1, 1);
    layout->addWidget(new QLabel(Tr("Remaining Time:"), this), 2, 0);
    remaining_ = new QLabel(this);
    layout->addWidget(remaining_, 2, 1);
    bar_ = new QProgressBar(this);
    bar_->setRange(0, 100);
    bar_->setTextVisible(false);
    layout->addWidget(bar_, 3, 0, 1, 2);
    abort_ = new QPushButton(Tr("Abort"), this);
    layout->addWidget(abort_, 4, 1, Qt::AlignRight);
    layout->setColumnStretch(1, 1);
    connect(abort_, &QPushButton::clicked, this, &CSingleFileCopyDlg::Abort);
}

void CSingleFileCopyDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (started_) return;
    started_ = true;
    QTimer::singleShot(0, this, &CSingleFileCopyDlg::Run);
}

bool CSingleFileCopyDlg::Copy(keldrin::IFileRecoverCallback* callback, IStorageDevice* device,
                              CFileNode* node, const std::string& path) {
    return output::RecoverSingleFile(callback, device, node, path, true);
}

void CSingleFileCopyDlg::Run() {
    const IFileProperties* p = node_ ? node_->GetProperties() : nullptr;
    Begin(1, p ? p->GetFileSize() : 0);
    if (texts_.showName && p) SetCurrentFile(p->GetName());
    const bool written = Copy(this, device_, node_, path_);
    if (written) {
        bar_->setValue(100);
        percent_->setText(QStringLiteral("100%"));
        accept();
        return;
    }
    if (!cancelled_.load()) {
        if (texts_.failureIsWarning)
            GetPrompts().warn(this, Tr(texts_.failure));
        else
            GetPrompts().inform(this, Tr(texts_.failure));
    }
    done(QDialog::Rejected);
}

void CSingleFileCopyDlg::Abort() {
    cancelled_.store(true);
    setWindowTitle(Tr("Cancelling..."));
    abort_->setEnabled(false);
}

void CSingleFileCopyDlg::Update(bool textsOnly) {
    const uint64_t total = total_.load();
    const uint64_t doneBytes = std::min(done_.load(), total);
    const int percent = total == 0 ? 100 : static_cast<int>(doneBytes * 100 / total);
    percent_->setText(QStringLiteral("%1%").arg(percent));
    if (!textsOnly) bar_->setValue(percent);
    const int64_t elapsed = lastMs_.load() - startMs_.load();
    if (elapsed < kDueMs) {
        remaining_->setText(Tr("Calculating..."));
    } else {
        const uint64_t seconds =
            doneBytes == 0 ? 0
                           : static_cast<uint64_t>(static_cast<unsigned __int128>(total - doneBytes) *
                                                   static_cast<uint64_t>(elapsed) / doneBytes / 1000) +
                                 1;
        remaining_->setText(QString::fromStdString(FormatDurationSeconds(static_cast<int64_t>(seconds))));
    }
    std::lock_guard<std::mutex> lock(nameMutex_);
    if (texts_.showName && !name_.empty()) nameLine_->setText(QString::fromStdString(name_));
}

void CSingleFileCopyDlg::UpdateWhenDue(bool textsOnly) {
    const int64_t now = NowMs();
    int64_t last = lastMs_.load();
    if (now - last <= kDueMs || !lastMs_.compare_exchange_strong(last, now)) return;
    if (QThread::currentThread() == thread())
        Update(textsOnly);
    else
        QMetaObject::invokeMethod(
            this, [this, textsOnly] { Update(textsOnly); }, Qt::BlockingQueuedConnection);
}

int CSingleFileCopyDlg::Begin(uint32_t, uint64_t totalBytes) {
    total_.store(totalBytes);
    done_.store(0);
    const int64_t now = NowMs();
    startMs_.store(now);
    lastMs_.store(now);
    bar_->setValue(totalBytes == 0 ? 100 : 0);
    Update(true);
    return IsCancelled();
}

int CSingleFileCopyDlg::AddFiles(uint32_t) {
    total_.store(std::max(total_.load(), done_.load()));
    done_.store(total_.load());
    QMetaObject::invokeMethod(this, [this] {
        percent_->setText(QStringLiteral("100%"));
        bar_->setValue(100);
    });
    return 1;
}

int CSingleFileCopyDlg::AddBytes(uint64_t bytes) {
    done_.fetch_add(bytes);
    UpdateWhenDue(false);
    return IsCancelled();
}

int CSingleFileCopyDlg::SubtractBytes(uint32_t bytes) {
    uint64_t current = done_.load();
    while (!done_.compare_exchange_weak(current, current - std::min<uint64_t>(bytes, current))) {
    }
    UpdateWhenDue(true);
    return IsCancelled();
}

int CSingleFileCopyDlg::SetCurrentFile(const char* name) {
    {
        std::lock_guard<std::mutex> lock(nameMutex_);
        name_ = name ? name : "";
    }
    UpdateWhenDue(false);
    return IsCancelled();
}

int CSingleFileCopyDlg::IsCancelled() {
    if (QThread::currentThread() == thread()) QCoreApplication::processEvents();
    return cancelled_.load() ? kCancelled : 0;
}

CRBClickRecoverFileDlg::CRBClickRecoverFileDlg(IStorageDevice* device, CFileNode* node, std::string path,
                                               QWidget* parent)
    : CSingleFileCopyDlg({"Recovering...", "Recover", "Failed to recover this file.", true, true}, device,
                         node, std::move(path), parent) {
    setObjectName("recoverFile");
}

CPreviewLoadingDlg::CPreviewLoadingDlg(IStorageDevice* device, CFileNode* node, std::string path,
                                       QWidget* parent)
    : CSingleFileCopyDlg({"Loading...", "Loading file...", "Cannot preview this file.", false, false}, device,
                         node, std::move(path), parent) {
    setObjectName("previewLoading");
}

bool CPreviewLoadingDlg::Copy(keldrin::IFileRecoverCallback* callback, IStorageDevice* device,
                              CFileNode* node, const std::string& path) {
    std::lock_guard<std::mutex> lock(lock_);
    return CSingleFileCopyDlg::Copy(callback, device, node, path);
}

}  // namespace keldrin::ui
