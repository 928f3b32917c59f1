// The common part of every page controller: its page, its previous controller and the default
// answers of the protocol.
#pragma once

#include "ui/controller/IWizardHost.h"
#include "ui/controller/IWizardPageController.h"

namespace keldrin::ui {

class CWizardPageControllerBase : public IWizardPageController {
  public:
    CWizardPageControllerBase(IWizardHost& host, int pageIndex) : host_(host), pageIndex_(pageIndex) {}

    void Enter() override { host_.ShowPage(pageIndex_); }
    void GoHome() override;
    void GoBack() override;
    bool GoNext() override { return false; }
    void SetPrevious(IWizardPageController* previous) override { previous_ = previous; }
    IWizardPageController* GetPrevious() const override { return previous_; }
    int GetRecoveryMode() const override { return previous_ ? previous_->GetRecoveryMode() : kModeNone; }
    // Both forwarded along the chain to the step that chose the source.
    DeviceSource GetDeviceSource() const override {
        return previous_ ? previous_->GetDeviceSource() : DeviceSource{};
    }
    bool IsSameDrive(const std::string& folder) const override {
        return previous_ && previous_->IsSameDrive(folder);
    }
    void Release() override {}
    int PageIndex() const { return pageIndex_; }

  protected:
    // Makes this controller the previous one of next and enters it.
    void EnterNext(IWizardPageController& next);

    IWizardHost& host_;

  private:
    int pageIndex_;
    IWizardPageController* previous_ = nullptr;
};

// The pages not built yet: they show, and lead back along the chain.
class CPlaceholderController final : public CWizardPageControllerBase {
  public:
    using CWizardPageControllerBase::CWizardPageControllerBase;
};

}  // namespace keldrin::ui
