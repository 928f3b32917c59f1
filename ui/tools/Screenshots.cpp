// Renders every page and dialog of the wizard to PNG files, with a disk image opened on the device
// page and its deleted files built: keldrin_screenshots OUTDIR IMAGE. The language is the user's
// choice as the program reads it ($KELDRIN_LANGUAGE overrides it).
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QTabWidget>
#include <QTranslator>
#include <QTreeWidget>
#include <cstdio>

#include "ui/app/CMainFrame.h"
#include "ui/app/Prompts.h"
#include "ui/app/Startup.h"
#include "ui/controller/Messages.h"
#include "ui/dialogs/CAdvanceSettingMasterDlg.h"
#include "ui/dialogs/CBuildDirectoryDlg.h"
#include "ui/dialogs/CHasCheckboxPromptDlg.h"
#include "ui/dialogs/CPropertiesDlg.h"
#include "ui/dialogs/CRecoveringDlg.h"
#include "ui/dialogs/CSearchFileDlg.h"
#include "ui/dialogs/CSingleFileCopyDlg.h"
#include "ui/dialogs/CWaitingDlg.h"
#include "ui/pages/CDeleteRecoveryPartitionDeviceSelectPage.h"
#include "ui/pages/CFileListModel.h"
#include "ui/pages/CFileSelectPage.h"
#include "ui/pages/CSaveFilePage.h"
#include "ui/pages/CSaveResultPage.h"
#include "ui/pages/CWizardPage.h"
#include "ui/wizard/CWizardSheet.h"

namespace {

using namespace keldrin::ui;

// show off: the widget is only rendered, so a dialog that starts its work when shown stays idle.
bool Save(QWidget& widget, const QDir& out, const QString& name, bool show = true) {
    if (show) widget.show();
    QCoreApplication::processEvents();
    const QString path = out.filePath(name + ".png");
    if (!widget.grab().save(path)) {
        std::fprintf(stderr, "keldrin_screenshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool SaveBox(const QDir& out, const QString& name, const QString& text, QMessageBox::Icon icon,
             QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, "Keldrin", text, buttons);
    return Save(box, out, name);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: keldrin_screenshots OUTDIR IMAGE\n");
        return 2;
    }
    QTranslator translator;
    InstallTranslation(app, translator);
    QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(".")) {
        std::fprintf(stderr, "keldrin_screenshots: cannot create %s\n", argv[1]);
        return 1;
    }
    // The questions of the flow are answered, the tip is ticked away.
    GetPrompts() = Prompts{[](QWidget*, const QString&) { return true; }, [](QWidget*, const QString&) {},
                           [](QWidget*, const QString&) { return true; }, [](QWidget*, const QString&) {},
                           [](QWidget*, const QString&, const QString&) { return QString(); }};

    CMainFrame frame;
    CWizardSheet& sheet = *frame.Sheet();
    CWizardControllers& c = sheet.Controllers();
    // The machine's own disks would make the pictures differ from one machine to the next.
    c.DeleteDevice().SetDiskSource([](keldrin::DiskDeviceList&) {});
    bool ok = true;
    ok &= Save(frame, out, "page00-mode");
    c.ModeSelect().SetMode(kModeDeletedFile);
    c.ModeSelect().GoNext();
    ok &= Save(frame, out, "page10-type-of-file");
    c.TypeOfFile().GoNext();
    auto* devicePage = static_cast<CDeleteRecoveryPartitionDeviceSelectPage*>(sheet.Page(kPageDeleteDevice));
    if (!devicePage->OpenImagePath(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "keldrin_screenshots: %s lists no volume\n", argv[2]);
        return 1;
    }
    devicePage->List()->setCurrentItem(devicePage->List()->topLevelItem(0));
    ok &= Save(frame, out, "page01-deleted-device");
    sheet.Next();
    auto* filePage = static_cast<CFileSelectPage*>(sheet.Page(kPageFileSelect));
    ok &= Save(frame, out, "page09-file-select");
    const RecoveredTree* tree = c.FileSelect().Tree();
    if (!tree) {
        std::fprintf(stderr, "keldrin_screenshots: %s has no deleted files\n", argv[2]);
        return 1;
    }
    filePage->ToggleCheck(tree->Copy());
    // A deleted file two folders down, for its properties.
    filePage->SelectFolder(tree->Copy()->GetFirstChild());
    if (keldrin::CFileNode* file = filePage->ListModel()->NodeAt(filePage->ListModel()->rowCount({}) - 1)) {
        filePage->SelectFile(file);
        CPropertiesDlg properties(file, &frame);
        ok &= Save(properties, out, "dialog-properties");
    }
    ok &= Save(frame, out, "page09-file-select-checked");
    CSearchFileDlg search(tree->Root(), filePage->SelectedFolder(), &frame);
    ok &= Save(search, out, "dialog-search");
    search.Pages()->setCurrentIndex(2);
    search.DateBox()->setChecked(true);
    ok &= Save(search, out, "dialog-search-date");
    search.hide();
    filePage->OpenFind();
    ok &= Save(*filePage->FindDialog(), out, "dialog-find");
    filePage->FindDialog()->hide();

    sheet.Next();
    auto* savePage = static_cast<CSaveFilePage*>(sheet.Page(kPageSaveFile));
    // A fixed name, so the pictures do not change from run to run.
    const QString target = QDir::temp().filePath("keldrin-screenshots-recovered");
    QDir(target).removeRecursively();
    savePage->PathEdit()->setText(target);
    // The folder tree of the computer is read on a thread of its own.
    QElapsedTimer loading;
    loading.start();
    while (loading.elapsed() < 700) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    ok &= Save(frame, out, "page06-save-file");
    sheet.Next();
    if (sheet.CurrentIndex() != kPageSaveResult) {
        std::fprintf(stderr, "keldrin_screenshots: the copy did not reach the result page\n");
        return 1;
    }
    ok &= Save(frame, out, "page05-save-result");
    QDir(target).removeRecursively();
    c.SaveResult().Return();
    for (int page :
         {kPageCompleteDevice, kPageLostDisk, kPageLostPartition, kPageCompleteScan, kPageLostScan}) {
        sheet.ShowPage(page);
        ok &= Save(frame, out, QString("page%1-placeholder").arg(page, 2, 10, QChar('0')));
    }

    CAdvanceSettingMasterDlg options(true, nullptr);
    static constexpr const char* kOptionPages[kOptionPageCount] = {"common", "fat", "ntfs", "raw"};
    for (int page = 0; page < kOptionPageCount; ++page) {
        options.ShowPage(page);
        ok &= Save(options, out, QString("dialog-option-%1").arg(kOptionPages[page]));
    }
    options.RawTypeTree()->expandAll();
    ok &= Save(options, out, "dialog-option-raw-types");
    options.hide();

    CHasCheckboxPromptDlg tip(Tr(msg::kCompleteRecoveryTip), &frame);
    ok &= Save(tip, out, "dialog-tip");
    tip.hide();
    CWaitingDlg waiting(&frame);
    ok &= Save(waiting, out, "dialog-waiting");
    CBuildDirectoryDlg build(nullptr);
    build.BeginPhase("NTFS:Reading files", 100);
    build.SetPosition(40);
    ok &= Save(build, out, "dialog-building-directory");
    CRBClickRecoverFileDlg oneFile(nullptr, tree->Copy()->GetFirstChild(), "/tmp/x", nullptr);
    ok &= Save(oneFile, out, "dialog-recovering-one-file", false);
    CPreviewLoadingDlg previewLoading(nullptr, tree->Copy()->GetFirstChild(), "/tmp/x", nullptr);
    ok &= Save(previewLoading, out, "dialog-preview-loading", false);
    CRecoveringDlg recovering(tree->Root(), nullptr, "/tmp", nullptr);
    ok &= Save(recovering, out, "dialog-recovering", false);
    ok &= SaveBox(out, "box-running", Tr("Keldrin has been running!"), QMessageBox::Information,
                  QMessageBox::Ok);
    ok &=
        SaveBox(out, "box-exit", Tr("Exit now?"), QMessageBox::Question, QMessageBox::Yes | QMessageBox::No);
    ok &= SaveBox(out, "box-abort-building", Tr("Abort Building?"), QMessageBox::Question,
                  QMessageBox::Yes | QMessageBox::No);
    ok &= SaveBox(out, "box-no-files", Tr("No files found, please go to Complete Recovery mode!"),
                  QMessageBox::Information, QMessageBox::Ok);
    ok &= SaveBox(out, "box-select-files", Tr("Select files to save, please."), QMessageBox::Information,
                  QMessageBox::Ok);
    ok &= SaveBox(out, "box-same-drive", Tr(msg::kSameDrive), QMessageBox::Question,
                  QMessageBox::Yes | QMessageBox::No);
    ok &= SaveBox(out, "box-select-partition", Tr("Select a partition to recover please."),
                  QMessageBox::Information, QMessageBox::Ok);
    return ok ? 0 : 1;
}
