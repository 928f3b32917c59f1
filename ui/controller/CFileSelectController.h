// The file-selection page: holds the tree of found files, whose checked files the saving page then
// copies, until the user leaves the step backwards or home.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "engine/devices/StorageDevice.h"
#include "ui/controller/CWizardPageControllerBase.h"
#include "ui/controller/RecoveredTree.h"

namespace keldrin::ui {

class CSaveFileController;

class CFileSelectController final : public CWizardPageControllerBase {
  public:
    CFileSelectController(IWizardHost& host, CSaveFileController& save);

    // Takes the tree the previous step built; the page shows it when it is next shown.
    void SetTree(std::unique_ptr<RecoveredTree> tree);
    const RecoveredTree* Tree() const { return tree_.get(); }
    // The top "Root" of the tree shown; null when there is none.
    CFileSystemNode* TopRoot() const { return tree_ ? tree_->Root() : nullptr; }
    SelectionStatistics Statistics() const;
    // Changes with every new or released tree, so the page knows when to rebuild its views.
    uint64_t TreeGeneration() const { return generation_; }
    // Called whenever the tree is replaced or released, before the old one is freed, so views over
    // it can let go first.
    void SetTreeListener(std::function<void()> listener) { listener_ = std::move(listener); }
    // The device the files' data is read from; null when the chain has none.
    IStorageDevice* GetDevice() const;

    void Enter() override;
    void GoBack() override;
    bool GoNext() override;
    int GetStateKind() const override { return kStateKindFileSelect; }
    void Release() override;

  private:
    CSaveFileController& save_;
    std::unique_ptr<RecoveredTree> tree_;
    uint64_t generation_ = 0;
    std::function<void()> listener_;
};

}  // namespace keldrin::ui
