#include "ui/app/CMainFrame.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

#include "engine/model/FileTypeCatalogue.h"
#include "engine/model/MachineFileTypeSource.h"
#include "ui/app/CChildView.h"
#include "ui/app/Prompts.h"
#include "ui/wizard/CWizardSheet.h"

namespace keldrin::ui {

CMainFrame::CMainFrame()
    : QMainWindow(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
    setObjectName("mainFrame");
    // The file types "Search files" offers, read once from the machine's MIME database.
    static bool catalogueBuilt = false;
    if (!catalogueBuilt) {
        CMachineFileTypeSource source;
        FileTypeCatalogue::Shared().Build(source);
        catalogueBuilt = true;
    }
    view_ = new CChildView(this);
    setCentralWidget(view_);
    setWindowTitle("Keldrin");
    setWindowIcon(QIcon(":/pictures/keldrin.svg"));
    view_->setMinimumSize(kClientWidth, kClientHeight);
    resize(kClientWidth, kClientHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

CWizardSheet* CMainFrame::Sheet() const {
    return view_->Sheet();
}

QString CMainFrame::ClosingQuestion() const {
    CWizardSheet* sheet = Sheet();
    const int mode = sheet->Controllers().FileSelect().GetRecoveryMode();
    if (sheet->CurrentIndex() == kPageFileSelect && (mode == kModeComplete || mode == kModePartition))
        return Tr(
            "The search results might be lost if you exit. Click \"Export\" to save it. Do you exit now?");
    return Tr("Exit now?");
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // While an engine operation runs the window is disabled and cannot close under it.
    if (!isEnabled() || !GetPrompts().ask(this, ClosingQuestion())) {
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace keldrin::ui
