#include "ui/controller/CFileSelectController.h"

#include "engine/devices/VolumeEntry.h"
#include "ui/controller/CSaveFileController.h"
#include "ui/controller/Messages.h"
#include "ui/controller/PageIndex.h"

namespace keldrin::ui {

CFileSelectController::CFileSelectController(IWizardHost& host, CSaveFileController& save)
    : CWizardPageControllerBase(host, kPageFileSelect), save_(save) {}

void CFileSelectController::SetTree(std::unique_ptr<RecoveredTree> tree) {
    ++generation_;
    if (listener_) listener_();
    tree_ = std::move(tree);
}

void CFileSelectController::Release() {
    if (!tree_) return;
    ++generation_;
    if (listener_) listener_();
    tree_.reset();
}

SelectionStatistics CFileSelectController::Statistics() const {
    return tree_ ? tree_->Root()->GetStatistics() : SelectionStatistics{};
}

IStorageDevice* CFileSelectController::GetDevice() const {
    const DeviceSource source = GetDeviceSource();
    if (source.kind == 1 && source.object)
        return static_cast<const VolumeEntry*>(source.object)->device.get();
    return nullptr;
}

void CFileSelectController::Enter() {
    if (tree_) CWizardPageControllerBase::Enter();
}

void CFileSelectController::GoBack() {
    if (!host_.Ask(msg::kQuitSearching)) return;
    CWizardPageControllerBase::GoBack();
}

bool CFileSelectController::GoNext() {
    if (Statistics().checkedFiles < 1) {
        host_.ShowMessage(msg::kSelectFilesToSave);
        return false;
    }
    save_.SetSelectionSource(this);
    EnterNext(save_);
    return true;
}

}  // namespace keldrin::ui
