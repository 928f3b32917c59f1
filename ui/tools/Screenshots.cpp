// Renders every page and dialog of the wizard to PNG files, with a disk image opened on the device
// page and its deleted files built: keldrin_screenshots OUTDIR IMAGE. The language is the user's
// choice as the program reads it ($KELDRIN_LANGUAGE overrides it).
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTranslator>
#include <QTreeWidget>
#include <cstdio>

#include "ui/app/CMainFrame.h"
#include "ui/app/Prompts.h"
#include "ui/app/Startup.h"
#include "ui/dialogs/CAdvanceSettingMasterDlg.h"
#include "ui/dialogs/CBuildDirectoryDlg.h"
#include "ui/dialogs/CRecoveringDlg.h"
#include "ui/dialogs/CWaitingDlg.h"
#include "ui/pages/CDeleteRecoveryPartitionDeviceSelectPage.h"
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
                           [](QWidget*, const QString&) { return true; }};

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
    ok &= Save(frame, out, "page09-file-select");
    for (int page : {kPageCompleteDevice, kPageLostDisk, kPageLostPartition, kPageSaveResult, kPageSaveFile,
                     kPageCompleteScan, kPageLostScan}) {
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

    CWaitingDlg waiting(&frame);
    ok &= Save(waiting, out, "dialog-waiting");
    CBuildDirectoryDlg build(nullptr);
    build.BeginPhase("NTFS:Reading files", 100);
    build.SetPosition(40);
    ok &= Save(build, out, "dialog-building-directory");
    const RecoveredTree* tree = c.FileSelect().Tree();
    if (tree) tree->Root()->ToggleCheck(tree->Copy(), false);
    CRecoveringDlg recovering(tree ? tree->Root() : nullptr, nullptr, "/tmp", nullptr);
    ok &= Save(recovering, out, "dialog-recovering", false);
    ok &= SaveBox(out, "box-running", Tr("Keldrin has been running!"), QMessageBox::Information,
                  QMessageBox::Ok);
    ok &=
        SaveBox(out, "box-exit", Tr("Exit now?"), QMessageBox::Question, QMessageBox::Yes | QMessageBox::No);
    ok &= SaveBox(out, "box-abort-building", Tr("Abort Building?"), QMessageBox::Question,
                  QMessageBox::Yes | QMessageBox::No);
    ok &= SaveBox(out, "box-no-files", Tr("No files found, please go to Complete Recovery mode!"),
                  QMessageBox::Information, QMessageBox::Ok);
    ok &= SaveBox(out, "box-select-partition", Tr("Select a partition to recover please."),
                  QMessageBox::Information, QMessageBox::Ok);
    return ok ? 0 : 1;
}
