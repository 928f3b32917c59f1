#include "ui/controller/CWizardControllers.h"

namespace keldrin::ui {

CWizardControllers::CWizardControllers(IWizardHost& host) {
    saveResult_ = std::make_unique<CSaveResultController>(host);
    saveFile_ = std::make_unique<CSaveFileController>(host, *saveResult_);
    fileSelect_ = std::make_unique<CFileSelectController>(host, *saveFile_);
    saveResult_->SetReturnTarget(fileSelect_.get());
    deleteDevice_ = std::make_unique<CDeleteRecoveryPartitionDeviceSelectController>(host, *fileSelect_);
    for (int i : {kPageCompleteDevice, kPageLostDisk, kPageLostPartition, kPageCompleteScan, kPageLostScan})
        placeholders_[i] = std::make_unique<CPlaceholderController>(host, i);
    typeOfFile_ = std::make_unique<CTypeOfFileToRecoveryController>(host, deleteDevice_.get(),
                                                                    placeholders_[kPageCompleteDevice].get(),
                                                                    placeholders_[kPageLostDisk].get());
    modeSelect_ = std::make_unique<CRecoveryModeSelectController>(host, *typeOfFile_);
}

CWizardControllers::~CWizardControllers() {
    // Each step frees what it holds before the controllers go, the files before the devices.
    fileSelect_->Release();
    deleteDevice_->Release();
}

IWizardPageController* CWizardControllers::Controller(int pageIndex) const {
    switch (pageIndex) {
        case kPageModeSelect:
            return modeSelect_.get();
        case kPageDeleteDevice:
            return deleteDevice_.get();
        case kPageFileSelect:
            return fileSelect_.get();
        case kPageSaveFile:
            return saveFile_.get();
        case kPageSaveResult:
            return saveResult_.get();
        case kPageTypeOfFile:
            return typeOfFile_.get();
        default:
            return pageIndex >= 0 && pageIndex < kPageCount ? placeholders_[pageIndex].get() : nullptr;
    }
}

void CWizardControllers::Home(int currentPage) {
    if (IWizardPageController* c = Controller(currentPage)) c->GoHome();
}

void CWizardControllers::Back(int currentPage) {
    if (IWizardPageController* c = Controller(currentPage)) c->GoBack();
}

bool CWizardControllers::Next(int currentPage) {
    IWizardPageController* c = Controller(currentPage);
    return c && c->GoNext();
}

}  // namespace keldrin::ui
