#include "ui/dialogs/CRBClickRecoverFileDlg.h"

#include <sys/stat.h>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>

#include "engine/model/FileProperties.h"
#include "engine/output/RecoverJobs.h"
#include "ui/app/Prompts.h"

namespace keldrin::ui {
namespace {

// The writer may have made the file read-only to match the source; the copy the user asked for
// is an ordinary file of theirs.
void MakeNormal(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) == 0) chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR);
}

}  // namespace

CRBClickRecoverFileDlg::CRBClickRecoverFileDlg(IStorageDevice* device, CFileNode* node, std::string path,
                                               QWidget* parent)
    : QDialog(parent), device_(device), node_(node), path_(std::move(path)) {
    setObjectName("recoverFile");
    setWindowTitle(Tr("Recovering"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    const IFileProperties* p = node ? node->GetProperties() : nullptr;
    if (p) total_.store(p->GetFileSize());
    auto* name = new QLabel(QString::fromUtf8(p ? p->GetName() : ""), this);
    name->setMinimumWidth(320);
    layout->addWidget(name);
    bar_ = new QProgressBar(this);
    bar_->setRange(0, 1000);
    layout->addWidget(bar_);
    cancel_ = new QPushButton(Tr("Cancel"), this);
    layout->addWidget(cancel_, 0, Qt::AlignRight);
    connect(cancel_, &QPushButton::clicked, this, &CRBClickRecoverFileDlg::Cancel);
}

void CRBClickRecoverFileDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (started_) return;
    started_ = true;
    QTimer::singleShot(0, this, &CRBClickRecoverFileDlg::Run);
}

void CRBClickRecoverFileDlg::Run() {
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this] {
        const uint64_t total = total_.load();
        bar_->setValue(total ? static_cast<int>(std::min<uint64_t>(done_.load(), total) * 1000 / total) : 0);
    });
    timer->start(200);
    succeeded_ = output::RecoverSingleFile(this, device_, node_, path_, true);
    timer->stop();
    if (cancelled_.load()) {
        MakeNormal(path_);
        std::remove(path_.c_str());
        succeeded_ = false;
    } else {
        MakeNormal(path_);
    }
    bar_->setValue(1000);
    accept();
}

void CRBClickRecoverFileDlg::Cancel() {
    if (cancelled_.load()) return;
    if (!GetPrompts().ask(this, Tr("Quit recovering?"))) return;
    cancelled_.store(true);
    cancel_->setEnabled(false);
}

int CRBClickRecoverFileDlg::Begin(uint32_t, uint64_t totalBytes) {
    total_.store(totalBytes);
    return 1;
}

int CRBClickRecoverFileDlg::AddBytes(uint64_t bytes) {
    done_.fetch_add(bytes);
    return cancelled_.load() ? kCancelled : 1;
}

int CRBClickRecoverFileDlg::SubtractBytes(uint32_t bytes) {
    done_.fetch_sub(std::min<uint64_t>(bytes, done_.load()));
    return 1;
}

}  // namespace keldrin::ui
