#include "ui/controller/CSaveFileController.h"

#include "ui/controller/CFileSelectController.h"
#include "ui/controller/DestinationCheck.h"
#include "ui/controller/Messages.h"
#include "ui/controller/PageIndex.h"

namespace keldrin::ui {

CSaveFileController::CSaveFileController(IWizardHost& host, IWizardPageController& result)
    : CWizardPageControllerBase(host, kPageSaveFile), result_(result) {}

void CSaveFileController::SetSelectionSource(CFileSelectController* source) {
    source_ = source;
    const SelectionStatistics stats = source ? source->Statistics() : SelectionStatistics{};
    required_ = stats.checkedSize;
    selected_ = stats.checkedFiles;
    SetPath({});
}

void CSaveFileController::SetPath(const std::string& path) {
    path_ = path;
    space_ = path.empty() ? platform::DriveSpace{} : platform::QueryDriveSpace(path);
}

bool CSaveFileController::GoNext() {
    if (!source_) return false;
    const int code = CheckDestination(path_);
    if (code != kDestinationOk) {
        const DestinationMessage message = MessageForDestination(code);
        if (message.warning)
            host_.ShowWarning(message.text);
        else
            host_.ShowMessage(message.text);
        return false;
    }
    if (source_->IsSameDrive(path_) && !host_.Ask(msg::kSameDrive)) return false;
    // Encrypted files are written in their raw form, which any file system keeps: no NTFS
    // destination is needed for them.
    const SelectionStatistics stats = source_->Statistics();
    space_ = platform::QueryDriveSpace(path_);
    if (!space_.known || space_.available < stats.checkedSize) {
        host_.ShowWarning(msg::kFreeSpaceShort);
        return false;
    }
    run_ = host_.RunRecovery(source_->TopRoot(), source_->GetDevice(), path_);
    target_ = path_;
    EnterNext(result_);
    return true;
}

CSaveResultController::CSaveResultController(IWizardHost& host)
    : CWizardPageControllerBase(host, kPageSaveResult) {}

}  // namespace keldrin::ui
