#include "ui/wizard/CWizardSheet.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QSvgRenderer>
#include <QUrl>

#include "platform/Language.h"
#include "platform/Worker.h"
#include "ui/app/Help.h"
#include "ui/app/Prompts.h"
#include "ui/dialogs/CBuildDirectoryDlg.h"
#include "ui/dialogs/CRecoveringDlg.h"
#include "ui/dialogs/CWaitingDlg.h"
#include "ui/dialogs/QtMessagePump.h"
#include "ui/pages/CDeleteRecoveryPartitionDeviceSelectPage.h"
#include "ui/pages/CFileSelectPage.h"
#include "ui/pages/CRecoveryModeSelectPage.h"
#include "ui/pages/CSaveFilePage.h"
#include "ui/pages/CSaveResultPage.h"
#include "ui/pages/CTypeOfFileToRecoveryPage.h"
#include "ui/pages/CWizardPage.h"

namespace keldrin::ui {
namespace {

// The header picture of each page and its title; pages 4 and 8 have no picture of their own.
struct Header {
    const char* picture;
    const char* title;
};
constexpr Header kHeaders[kPageCount] = {
    {":/pictures/header_mode.svg", "Welcome to Keldrin"},
    {":/pictures/header_partition.svg", "Deleted File Recovery"},
    {":/pictures/header_partition.svg", "Complete Recovery"},
    {":/pictures/header_disk.svg", "Partition Recovery"},
    {nullptr, "Partition Recovery"},
    {":/pictures/header_result.svg", "Recovery Result"},
    {":/pictures/header_saving.svg", "Save Files"},
    {":/pictures/header_scan.svg", "Complete Recovery"},
    {nullptr, "Partition Recovery"},
    {":/pictures/header_file.svg", "Select Files"},
    {":/pictures/header_filetype.svg", "Type of Files"},
};

QPushButton* StripButton(const char* text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(Tr(text), parent);
    button->setObjectName(name);
    button->setFixedSize(92, 30);
    return button;
}

}  // namespace

CWizardSheet::CWizardSheet(QWidget* parent) : QWidget(parent) {
    setObjectName("wizardSheet");
    setStyleSheet("QLabel#pageTitle { font-weight: bold; font-size: 14px; color: #1d4f7c; }");
    // The worker helper keeps this thread's events flowing while an engine operation runs.
    InstallQtMessagePump();
    controllers_ = std::make_unique<CWizardControllers>(*this);
    stack_ = new QStackedWidget(this);
    stack_->setObjectName("pages");
    CWizardControllers& c = *controllers_;
    pages_[kPageModeSelect] = new CRecoveryModeSelectPage(c.ModeSelect(), stack_);
    pages_[kPageDeleteDevice] = new CDeleteRecoveryPartitionDeviceSelectPage(
        c.DeleteDevice(), [this] { Next(); }, stack_);
    pages_[kPageFileSelect] = new CFileSelectPage(c.FileSelect(), stack_);
    pages_[kPageSaveFile] = new CSaveFilePage(c.SaveFile(), stack_);
    pages_[kPageSaveResult] = new CSaveResultPage(c.SaveResult(), c.SaveFile(), stack_);
    pages_[kPageTypeOfFile] = new CTypeOfFileToRecoveryPage(c.TypeOfFile(), stack_);
    for (int i = 0; i < kPageCount; ++i)
        if (!pages_[i])
            pages_[i] =
                new CPlaceholderPage(c.Controller(i), HelpContextId(i), Tr(kHeaders[i].title), stack_);
    for (CWizardPage* page : pages_) stack_->addWidget(page);

    menu_ = StripButton("Menu", "menu", this);
    home_ = StripButton("Home", "home", this);
    back_ = StripButton("< Back", "back", this);
    next_ = StripButton("Next >", "next", this);
    next_->setDefault(true);
    auto* menu = new QMenu(this);
    menu->addAction(Tr("Help"), this, &CWizardSheet::ShowHelp);
    menu->addAction(Tr("Help on this page"), this,
                    [this] { ShowPageHelp(platform::CurrentLanguage() == platform::kGerman ? 1 : 0); });
    menu->addAction(Tr("About"), this, [this] {
        QMessageBox::about(this, "Keldrin",
                           Tr("Keldrin recovers deleted and lost files from NTFS, FAT and Ext2/3 volumes "
                              "and disk images."));
    });
    menu_->setMenu(menu);
    connect(home_, &QPushButton::clicked, this, &CWizardSheet::Home);
    connect(back_, &QPushButton::clicked, this, &CWizardSheet::Back);
    connect(next_, &QPushButton::clicked, this, &CWizardSheet::Next);
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, &CWizardSheet::ShowHelp);
    ShowPage(kPageModeSelect);
}

CWizardSheet::~CWizardSheet() {
    // The pages hold references to the controllers: they go first.
    delete stack_;
    stack_ = nullptr;
}

CWizardPage* CWizardSheet::GetCurrentPage() const {
    return pages_[current_];
}

CWizardPage* CWizardSheet::Page(int index) const {
    return index >= 0 && index < kPageCount ? pages_[index] : nullptr;
}

void CWizardSheet::EnableNext(bool enable) {
    next_->setEnabled(enable);
}

void CWizardSheet::OpenImageCommand() {
    GetCurrentPage()->OnOpenImage();
}

void CWizardSheet::Home() {
    if (GetPrompts().ask(window(), Tr("Are you sure to return to home page?"))) controllers_->Home(current_);
}

void CWizardSheet::Back() {
    controllers_->Back(current_);
}

void CWizardSheet::Next() {
    controllers_->Next(current_);
}

void CWizardSheet::ShowHelp() {
    OpenOnlineHelp();
}

bool CWizardSheet::ShowPageHelp(int language) {
    return OpenHelp(GetCurrentPage()->GetHelpContextId(), language);
}

void CWizardSheet::ShowPage(int index) {
    if (index < 0 || index >= kPageCount) return;
    current_ = index;
    const bool buttons = index != kPageModeSelect;
    home_->setVisible(buttons);
    back_->setVisible(buttons);
    next_->setVisible(buttons && index != kPageSaveResult);
    next_->setEnabled(true);
    Layout();
    pages_[index]->OnShow();
    stack_->setCurrentIndex(index);
    pages_[index]->setFocus();
    update();
}

void CWizardSheet::Layout() {
    const int header = current_ == kPageModeSelect ? kHeaderHeightModePage : kHeaderHeight;
    const int strip = current_ == kPageModeSelect ? 0 : kButtonStripHeight;
    stack_->setGeometry(0, header, width(), height() - header - strip);
    const int y = height() - kButtonStripHeight + (kButtonStripHeight - 30) / 2;
    menu_->move(12, current_ == kPageModeSelect ? height() - 42 : y);
    next_->move(width() - 12 - 92, y);
    back_->move(width() - 12 - 2 * 92 - 8, y);
    home_->move(width() - 12 - 3 * 92 - 24, y);
    menu_->raise();
}

void CWizardSheet::resizeEvent(QResizeEvent*) {
    Layout();
}

void CWizardSheet::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int header = current_ == kPageModeSelect ? kHeaderHeightModePage : kHeaderHeight;
    const QRect top(0, 0, width(), header);
    QLinearGradient sky(top.topLeft(), top.bottomLeft());
    sky.setColorAt(0, QColor(34, 102, 164));
    sky.setColorAt(1, QColor(73, 150, 212));
    painter.fillRect(top, sky);
    const int pictureWidth = header * 3;
    if (const char* picture = kHeaders[current_].picture) {
        QSvgRenderer svg(QString::fromLatin1(picture));
        if (svg.isValid()) svg.render(&painter, QRectF(width() - pictureWidth - 8, 0, pictureWidth, header));
    }
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPixelSize(current_ == kPageModeSelect ? 22 : 24);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(top.adjusted(20, 0, -pictureWidth - 16, 0), Qt::AlignVCenter | Qt::AlignLeft,
                     Tr(kHeaders[current_].title));
    if (current_ != kPageModeSelect) {
        const QRect strip(0, height() - kButtonStripHeight, width(), kButtonStripHeight);
        painter.fillRect(strip, QColor(232, 241, 248));
        painter.setPen(QColor(176, 204, 226));
        painter.drawLine(strip.topLeft(), strip.topRight());
    }
}

void CWizardSheet::SetBusy(bool busy) {
    window()->setEnabled(!busy);
    if (!busy) window()->activateWindow();
}

void CWizardSheet::ShowMessage(const char* text) {
    GetPrompts().inform(window(), Tr(text));
}

void CWizardSheet::ShowWarning(const char* text) {
    GetPrompts().warn(window(), Tr(text));
}

bool CWizardSheet::Ask(const char* text) {
    return GetPrompts().ask(window(), Tr(text));
}

RecoveryRun CWizardSheet::RunRecovery(CFileSystemNode* root, IStorageDevice* device,
                                      const std::string& destination) {
    CRecoveringDlg dialog(root, device, destination, window());
    dialog.exec();
    RecoveryRun run;
    run.selected = dialog.SelectedFiles();
    run.recovered = dialog.RecoveredFiles();
    for (const QString& folder : dialog.ResultFolders()) run.names.push_back(folder.toStdString());
    return run;
}

void CWizardSheet::BeginWaiting() {
    SetBusy(true);
    waiting_ = std::make_unique<CWaitingDlg>(window());
    waiting_->ShowNow();
}

void CWizardSheet::EndWaiting() {
    waiting_.reset();
    SetBusy(false);
}

bool CWizardSheet::RunBuild(const std::function<void(IDIRBuildCallback&)>& work) {
    // A window of its own, so disabling the main window leaves its Cancel working.
    CBuildDirectoryDlg dialog(nullptr);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.adjustSize();
    dialog.move(window()->geometry().center() - dialog.rect().center());
    SetBusy(true);
    dialog.show();
    CDIRBuildCallback callback(&dialog);
    platform::RunWorker([&] { work(callback); });
    dialog.hide();
    SetBusy(false);
    return !dialog.IsCancelled();
}

bool CWizardSheet::ShowTip(const char* text) {
    return GetPrompts().tip(window(), Tr(text));
}

}  // namespace keldrin::ui
