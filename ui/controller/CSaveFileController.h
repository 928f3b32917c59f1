// The saving page: the destination folder of the checked files, its checks, the copy under the
// "Recovering" dialog and what the copy did, for the result page.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/DriveSpace.h"
#include "ui/controller/CWizardPageControllerBase.h"

namespace keldrin::ui {

class CFileSelectController;

class CSaveFileController final : public CWizardPageControllerBase {
  public:
    CSaveFileController(IWizardHost& host, IWizardPageController& result);

    // Reads the selection of source, the page's required space and count; starts with an empty
    // path.
    void SetSelectionSource(CFileSelectController* source);
    uint64_t RequiredSize() const { return required_; }
    uint32_t SelectedCount() const { return selected_; }

    void SetPath(const std::string& path);
    const std::string& GetPath() const { return path_; }
    // The space of the path's file system, recomputed by SetPath.
    const platform::DriveSpace& Space() const { return space_; }

    // The checks, in order: the folder itself, the same drive as the source (asked), enough free
    // space; then the copy and the result page. False keeps the page.
    bool GoNext() override;
    int GetStateKind() const override { return kStateKindSaveFile; }

    // What the last copy did.
    uint32_t GetSelectedCount() const { return run_.selected; }
    uint32_t GetRecoveredCount() const { return run_.recovered; }
    const std::string& GetTargetPath() const { return target_; }
    size_t GetNameCount() const { return run_.names.size(); }
    const std::string& GetName(size_t index) const { return run_.names.at(index); }

  private:
    IWizardPageController& result_;
    CFileSelectController* source_ = nullptr;
    uint64_t required_ = 0;
    uint32_t selected_ = 0;
    std::string path_;
    platform::DriveSpace space_;
    RecoveryRun run_;
    std::string target_;
};

// The result page: the report of the last copy; "Return" goes back to the same tree.
class CSaveResultController final : public CWizardPageControllerBase {
  public:
    explicit CSaveResultController(IWizardHost& host);

    void SetReturnTarget(IWizardPageController* fileSelect) { fileSelect_ = fileSelect; }
    bool GoNext() override { return true; }
    void Return() {
        if (fileSelect_) fileSelect_->Enter();
    }

  private:
    IWizardPageController* fileSelect_ = nullptr;
};

}  // namespace keldrin::ui
