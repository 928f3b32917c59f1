// The file-selection page: holds the tree of found files until the user leaves the step backwards.
#pragma once

#include <memory>

#include "ui/controller/CWizardPageControllerBase.h"
#include "ui/controller/RecoveredTree.h"

namespace keldrin::ui {

class CFileSelectController final : public CWizardPageControllerBase {
  public:
    explicit CFileSelectController(IWizardHost& host);

    void TakeTree(std::unique_ptr<RecoveredTree> tree) { tree_ = std::move(tree); }
    const RecoveredTree* Tree() const { return tree_.get(); }

    int GetStateKind() const override { return kStateKindFileSelect; }
    DeviceSource GetDeviceSource() const override;
    void Release() override { tree_.reset(); }

  private:
    std::unique_ptr<RecoveredTree> tree_;
};

}  // namespace keldrin::ui
