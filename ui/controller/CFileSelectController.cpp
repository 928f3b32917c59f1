#include "ui/controller/CFileSelectController.h"

#include "ui/controller/PageIndex.h"

namespace keldrin::ui {

CFileSelectController::CFileSelectController(IWizardHost& host)
    : CWizardPageControllerBase(host, kPageFileSelect) {}

DeviceSource CFileSelectController::GetDeviceSource() const {
    return GetPrevious() ? GetPrevious()->GetDeviceSource() : DeviceSource{};
}

}  // namespace keldrin::ui
