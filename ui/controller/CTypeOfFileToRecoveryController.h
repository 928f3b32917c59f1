// The file-type page: which kinds of files the tree builders keep (the process-wide type filter and
// the RAW type list), then the device page of the chosen mode.
#pragma once

#include <string>
#include <vector>

#include "ui/controller/CWizardPageControllerBase.h"

namespace keldrin::ui {

inline constexpr int kTypeChoiceCount = 6;  // all files, documents, e-mail, pictures, audio, video

// The extensions of a choice; empty for choice 0 (all files) and for a choice out of range.
std::vector<std::string> ExtensionsOfChoice(int choice);

class CTypeOfFileToRecoveryController final : public CWizardPageControllerBase {
  public:
    // One device controller per mode, in mode order.
    CTypeOfFileToRecoveryController(IWizardHost& host, IWizardPageController* deviceDeleted,
                                    IWizardPageController* deviceComplete,
                                    IWizardPageController* devicePartition);

    void SetMode(int mode) { mode_ = mode; }
    void SetChoice(int choice) { choice_ = choice >= 0 && choice < kTypeChoiceCount ? choice : 0; }
    int GetChoice() const { return choice_; }
    void SetIgnoreBadSectors(bool ignore) { ignoreBadSectors_ = ignore; }

    int GetRecoveryMode() const override { return mode_; }
    bool GoNext() override;

  private:
    IWizardPageController* devices_[3];
    int mode_ = kModeNone;
    int choice_ = 0;
    bool ignoreBadSectors_ = false;
};

}  // namespace keldrin::ui
