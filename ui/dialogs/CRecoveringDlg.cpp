#include "ui/dialogs/CRecoveringDlg.h"

#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include "engine/output/RecoverJobs.h"
#include "ui/app/Prompts.h"
#include "ui/controller/Format.h"
#include "ui/dialogs/QtMessagePump.h"

namespace keldrin::ui {
namespace {

constexpr int64_t kGiB = 1073741824;
constexpr int64_t kMiB = 1048576;

QLabel* Value(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setMinimumWidth(220);
    return label;
}

}  // namespace

int CFileRecoverCallback::Begin(uint32_t fileCount, uint64_t totalBytes) {
    dialog_.selected_ = fileCount;
    dialog_.total_ = static_cast<int64_t>(totalBytes);
    dialog_.lastRefreshMs_ = NowMs();
    dialog_.Refresh(false);
    return IsCancelled();
}

int CFileRecoverCallback::AddFiles(uint32_t count) {
    dialog_.recovered_ += count;
    dialog_.RefreshWhenDue();
    return IsCancelled();
}

int CFileRecoverCallback::AddBytes(uint64_t bytes) {
    dialog_.bytesDone_ += static_cast<int64_t>(bytes);
    dialog_.RefreshWhenDue();
    return IsCancelled();
}

int CFileRecoverCallback::SubtractBytes(uint32_t bytes) {
    dialog_.bytesDone_ -= bytes;
    dialog_.RefreshWhenDue(true);
    return IsCancelled();
}

int CFileRecoverCallback::SetCurrentFile(const char* name) {
    {
        std::lock_guard<std::mutex> lock(dialog_.nameMutex_);
        dialog_.currentName_ = name ? name : "";
    }
    dialog_.RefreshWhenDue();
    return IsCancelled();
}

int CFileRecoverCallback::IsCancelled() {
    return dialog_.cancelled_.load() ? kCancelled : kGoOn;
}

CRecoveringDlg::CRecoveringDlg(CFileSystemNode* root, IStorageDevice* device, std::string destination,
                               QWidget* parent)
    : QDialog(parent), root_(root), device_(device), destination_(std::move(destination)) {
    setObjectName("recovering");
    // The writer's refreshes wait for this thread; without the pump they would wait forever.
    InstallQtMessagePump();
    setWindowTitle(Tr("Recovering"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    recoveredText_ = Value(this);
    selectedText_ = Value(this);
    doneText_ = Value(this);
    totalText_ = Value(this);
    nameText_ = Value(this);
    nameText_->setTextFormat(Qt::PlainText);
    form->addRow(Tr("Recovered Files:"), recoveredText_);
    form->addRow(Tr("Selected Files:"), selectedText_);
    form->addRow(Tr("Recovered Data Size:"), doneText_);
    form->addRow(Tr("Total Data Size:"), totalText_);
    form->addRow(Tr("Recovering File Name:"), nameText_);
    layout->addLayout(form);
    bar_ = new QProgressBar(this);
    bar_->setTextVisible(false);
    bar_->setStyleSheet(
        "QProgressBar { background: rgb(242,247,250); border: 1px solid rgb(180,200,215); height: 14px; }"
        "QProgressBar::chunk { background: rgb(97,185,228); }");
    layout->addWidget(bar_);
    cancel_ = new QPushButton(Tr("C&ancel"), this);
    cancel_->setAutoDefault(false);
    layout->addWidget(cancel_, 0, Qt::AlignRight);
    connect(cancel_, &QPushButton::clicked, this, &CRecoveringDlg::Cancel);
    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, [this] { RefreshWhenDue(); });

    const SelectionStatistics stats = root_ ? root_->GetStatistics() : SelectionStatistics{};
    selected_ = stats.checkedFiles;
    total_ = static_cast<int64_t>(stats.checkedSize);
    bar_->setRange(0, BarMaximum());
    Refresh(false);
}

int CRecoveringDlg::BarMaximum() const {
    if (total_ <= 0) return 1;
    if (total_ >= kGiB) return static_cast<int>(total_ / kMiB);
    return total_ > 2147483647 ? 2147483647 : static_cast<int>(total_);
}

void CRecoveringDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (started_) return;
    started_ = true;
    QTimer::singleShot(0, this, &CRecoveringDlg::Run);
}

void CRecoveringDlg::Run() {
    timer_->start(1000);
    callback_.Begin(selected_, static_cast<uint64_t>(total_));
    // Each checked tree below the root in turn; a cancel lets every later job stop at once.
    for (CFileNode* child = root_ ? root_->GetFirstChild() : nullptr; child && child->IsFileSystemNode();
         child = child->GetNextSibling()) {
        const IFileProperties* properties = child->GetProperties();
        if (!properties || properties->GetCheckState() == 0) continue;
        output::RecoverTreeResult result;
        if (output::RecoverTree(&callback_, device_, child, destination_, &result))
            folders_.append(QString::fromStdString(result.folder));
    }
    timer_->stop();
    Refresh(false);
    accept();
}

void CRecoveringDlg::Cancel() {
    if (cancelled_.load()) return;
    if (!GetPrompts().ask(this, Tr("Quit recovering?"))) return;
    cancelled_.store(true);
    setWindowTitle(Tr("Cancelling..."));
    cancel_->setEnabled(false);
}

void CRecoveringDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CRecoveringDlg::RefreshWhenDue(bool textsOnly) {
    const int64_t now = NowMs();
    int64_t last = lastRefreshMs_.load();
    if (now - last <= 1000 || !lastRefreshMs_.compare_exchange_strong(last, now)) return;
    if (QThread::currentThread() == thread())
        Refresh(textsOnly);
    else
        QMetaObject::invokeMethod(
            this, [this, textsOnly] { Refresh(textsOnly); }, Qt::BlockingQueuedConnection);
}

void CRecoveringDlg::Refresh(bool textsOnly) {
    const int64_t done = bytesDone_.load();
    if (!textsOnly) {
        bar_->setRange(0, BarMaximum());
        if (total_ <= 0)
            bar_->setValue(1);
        else
            bar_->setValue(
                static_cast<int>(std::min<int64_t>(total_ >= kGiB ? done / kMiB : done, BarMaximum())));
    }
    selectedText_->setText(QString::number(selected_));
    recoveredText_->setText(QString::number(recovered_.load()));
    {
        std::lock_guard<std::mutex> lock(nameMutex_);
        nameText_->setText(QString::fromStdString(currentName_));
    }
    doneText_->setText(QString::fromStdString(FormatRunningTotal(done)));
    totalText_->setText(QString::fromStdString(FormatRunningTotal(total_)));
}

}  // namespace keldrin::ui
