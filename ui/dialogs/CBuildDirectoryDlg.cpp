#include "ui/dialogs/CBuildDirectoryDlg.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

#include "ui/app/Prompts.h"
#include "ui/controller/Format.h"
#include "ui/dialogs/ProgressScale.h"

namespace keldrin::ui {

CBuildDirectoryDlg::CBuildDirectoryDlg(QWidget* parent) : QDialog(parent) {
    setObjectName("buildDirectory");
    setWindowTitle(Tr("Building directory"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    status_ = new QLabel(this);
    status_->setMinimumWidth(360);
    bar_ = new QProgressBar(this);
    bar_->setTextVisible(false);
    bar_->setRange(0, 1);
    cancel_ = new QPushButton(Tr("Cancel"), this);
    cancel_->setAutoDefault(false);
    layout->addWidget(status_);
    layout->addWidget(bar_);
    layout->addWidget(cancel_, 0, Qt::AlignRight);
    connect(cancel_, &QPushButton::clicked, this, &CBuildDirectoryDlg::Cancel);
}

void CBuildDirectoryDlg::HideCancel() {
    cancel_->hide();
}

void CBuildDirectoryDlg::BeginPhase(const QString& text, qint64 total) {
    total_ = total;
    status_->setText(text);
    bar_->setRange(0, BarRange(total));
    bar_->setValue(0);
}

void CBuildDirectoryDlg::SetPosition(qint64 position) {
    bar_->setValue(BarValue(position, total_));
}

void CBuildDirectoryDlg::Finish() {
    bar_->setValue(bar_->maximum());
}

void CBuildDirectoryDlg::Cancel() {
    // A second Cancel while the question is open, after a confirmed abort, or without the button,
    // does nothing.
    if (asking_ || cancelled_.load() || cancel_->isHidden()) return;
    asking_ = true;
    const bool abort = GetPrompts().ask(this, Tr("Abort Building?"));
    asking_ = false;
    if (!abort) return;
    cancelled_.store(true);
    cancel_->setEnabled(false);
    setWindowTitle(Tr("Cancelling..."));
}

void CBuildDirectoryDlg::closeEvent(QCloseEvent* event) {
    event->ignore();
    Cancel();
}

namespace {

// The dialog's thread serves the call inside its pump; a call from that thread itself goes direct.
template <class F>
void OnDialogThread(CBuildDirectoryDlg* dialog, F&& call) {
    if (!dialog) return;
    if (QThread::currentThread() == dialog->thread())
        call();
    else
        QMetaObject::invokeMethod(dialog, std::forward<F>(call), Qt::BlockingQueuedConnection);
}

}  // namespace

int CDIRBuildCallback::BeginPhase(const char* text, int64_t total) {
    position_ = 0;
    const QString phase = QString::fromUtf8(text ? text : "");
    OnDialogThread(dialog_, [this, phase, total] { dialog_->BeginPhase(phase, total); });
    lastSentMs_ = NowMs();
    return IsCancelled();
}

int CDIRBuildCallback::Step(int64_t count) {
    position_ += count;
    SendPosition(false);
    return IsCancelled();
}

int CDIRBuildCallback::SetPosition(int64_t position) {
    ++calls_;
    position_ = position;
    SendPosition(false);
    return IsCancelled();
}

int CDIRBuildCallback::Finish() {
    OnDialogThread(dialog_, [this] { dialog_->Finish(); });
    return IsCancelled();
}

int CDIRBuildCallback::IsCancelled() {
    return dialog_ && dialog_->IsCancelled() ? kCancelled : kGoOn;
}

void CDIRBuildCallback::SendPosition(bool force) {
    const int64_t now = NowMs();
    if (!force && now - lastSentMs_ < 50) return;
    lastSentMs_ = now;
    const int64_t position = position_;
    OnDialogThread(dialog_, [this, position] { dialog_->SetPosition(position); });
}

}  // namespace keldrin::ui
