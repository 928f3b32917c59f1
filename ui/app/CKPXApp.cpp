#include "ui/app/CKPXApp.h"

#include <QMessageBox>

#include "platform/DataFolder.h"
#include "platform/Language.h"
#include "shared/Log.h"
#include "shared/ScanSettings.h"
#include "ui/app/CMainFrame.h"
#include "ui/app/Prompts.h"
#include "ui/app/Startup.h"

namespace keldrin::ui {

CKPXApp::CKPXApp(int& argc, char** argv) : QApplication(argc, argv) {
    setOrganizationName("Ostrevan");
    setApplicationName("Keldrin");
    setQuitOnLastWindowClosed(true);
}

CKPXApp::~CKPXApp() = default;

bool CKPXApp::InitInstance() {
    InstallTranslation(*this, translator_);
    GetScanSettings().language = platform::CurrentLanguage();
    singleCopy_ = LockSingleCopy();
    if (!singleCopy_) {
        QMessageBox::information(nullptr, "Keldrin", Tr("Keldrin has been running!"));
        return false;
    }
    const std::string log = platform::DataFile("Ostrevan.log");
    InitLog(log.c_str(), HasTraceSwitch(arguments()) ? LOGLEVEL_TRACE : LOGLEVEL_RELEASE,
            LoaderIsRunning() ? LOGTYPE_LOADER : LOGTYPE_NORMAL);
    LogInfo("Keldrin started");
    mainFrame_ = std::make_unique<CMainFrame>();
    mainFrame_->show();
    return true;
}

}  // namespace keldrin::ui
