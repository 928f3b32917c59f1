#include "ui/pages/CDeleteRecoveryPartitionDeviceSelectPage.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/app/Prompts.h"
#include "ui/controller/Messages.h"
#include "ui/controller/PageIndex.h"
#include "ui/dialogs/CAdvanceSettingMasterDlg.h"

namespace keldrin::ui {

CDeleteRecoveryPartitionDeviceSelectPage::CDeleteRecoveryPartitionDeviceSelectPage(
    CDeleteRecoveryPartitionDeviceSelectController& controller, std::function<void()> next, QWidget* parent)
    : CWizardPage(&controller, HelpContextId(kPageDeleteDevice), parent),
      controller_(controller),
      next_(std::move(next)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 10, 20, 6);
    auto* heading =
        new QLabel(Tr("Select the partition that held the deleted files, then click Next."), this);
    heading->setObjectName("pageTitle");
    heading->setWordWrap(true);
    layout->addWidget(heading);
    list_ = new CDeviceSelectCtrl(this);
    layout->addWidget(list_, 1);
    auto* buttons = new QHBoxLayout;
    auto* refresh = new QPushButton(Tr("Refresh"), this);
    refresh->setObjectName("refresh");
    auto* tools = new QPushButton(Tr("Disk Image"), this);
    tools->setObjectName("tools");
    auto* menu = new QMenu(tools);
    QAction* makeImage = menu->addAction(Tr("Disk Image"));
    QAction* openImage = menu->addAction(Tr("Open Disk Image") + "\tCtrl+O");
    deleteImage_ = menu->addAction(Tr("Delete Image"));
    tools->setMenu(menu);
    auto* options = new QPushButton(Tr("Option"), this);
    options->setObjectName("options");
    buttons->addWidget(refresh);
    buttons->addWidget(options);
    buttons->addWidget(tools);
    buttons->addStretch();
    layout->addLayout(buttons);

    connect(refresh, &QPushButton::clicked, this, [this] {
        controller_.RefreshDevices();
        Reload();
    });
    connect(options, &QPushButton::clicked, this, [this] {
        CAdvanceSettingMasterDlg dialog(true, this);
        dialog.exec();
    });
    // Imaging a volume is not available yet, so "Disk Image" stays greyed.
    makeImage->setEnabled(false);
    connect(menu, &QMenu::aboutToShow, this,
            [this] { deleteImage_->setEnabled(controller_.IsImageEntry()); });
    connect(openImage, &QAction::triggered, this, &CDeleteRecoveryPartitionDeviceSelectPage::OnOpenImage);
    connect(deleteImage_, &QAction::triggered, this, &CDeleteRecoveryPartitionDeviceSelectPage::DeleteImage);
    connect(list_, &QTreeWidget::itemSelectionChanged, this,
            [this] { controller_.SelectEntry(list_->SelectedRow()); });
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (next_) next_();
    });
    connect(list_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (!list_->itemAt(at)) return;
        QMenu menu(this);
        QAction* recover = menu.addAction(Tr("Recover"));
        if (menu.exec(list_->viewport()->mapToGlobal(at)) == recover && next_) next_();
    });
}

void CDeleteRecoveryPartitionDeviceSelectPage::OnShow() {
    Reload();
}

void CDeleteRecoveryPartitionDeviceSelectPage::DeleteImage() {
    if (controller_.DeleteImage()) Reload();
}

void CDeleteRecoveryPartitionDeviceSelectPage::Reload() {
    list_->SetRows(controller_.Rows());
    controller_.SelectEntry(-1);
}

void CDeleteRecoveryPartitionDeviceSelectPage::OnOpenImage() {
    const QString path = QFileDialog::getOpenFileName(
        this, Tr("Open Disk Image"), QString(), Tr("Raw disk images (*.img *.dd *.raw);;All files (*)"));
    if (!path.isEmpty()) OpenImagePath(path);
}

bool CDeleteRecoveryPartitionDeviceSelectPage::OpenImagePath(const QString& path) {
    const bool opened = controller_.OpenImage(path.toStdString());
    if (!opened) GetPrompts().inform(this, Tr(msg::kImageNotReadable));
    Reload();
    return opened;
}

}  // namespace keldrin::ui
