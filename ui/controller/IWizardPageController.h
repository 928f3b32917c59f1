// The controller of one wizard page and the navigation protocol between them: each GoNext makes
// itself the previous controller of the next one, so GoBack returns along the path really taken and
// GoHome walks the whole chain back to the mode page, releasing every step.
#pragma once

#include <string>

namespace keldrin::ui {

// The recovery modes chosen on the mode page.
enum RecoveryMode : int {
    kModeDeletedFile = 0,
    kModeComplete = 1,
    kModePartition = 2,
    kModeNone = 3,
};

// Where the file pages find the device to read. Kind 1: object is a VolumeEntry; kind 0: a disk
// record of the disk list; kind 2: a found lost partition.
struct DeviceSource {
    int kind = 0;
    const void* object = nullptr;
};

inline constexpr int kStateKindNothing = 6;
inline constexpr int kStateKindFileSelect = 5;
inline constexpr int kStateKindSaveFile = 6;

class IWizardPageController {
  public:
    virtual ~IWizardPageController() = default;
    // Prepares the page and makes it current.
    virtual void Enter() = 0;
    // Releases this step and hands on to the previous controller.
    virtual void GoHome() = 0;
    virtual void GoBack() = 0;
    // False keeps the page.
    virtual bool GoNext() = 0;
    virtual void SetPrevious(IWizardPageController* previous) = 0;
    virtual IWizardPageController* GetPrevious() const = 0;
    virtual int GetStateKind() const { return kStateKindNothing; }
    virtual int GetRecoveryMode() const = 0;
    virtual DeviceSource GetDeviceSource() const = 0;
    // Whether writing into folder could overwrite the source the mode reads from.
    virtual bool IsSameDrive(const std::string& folder) const = 0;
    // Frees what this step holds; safe to call any number of times.
    virtual void Release() = 0;
};

}  // namespace keldrin::ui
