// What the controllers ask of the windows: they never touch a widget themselves, so the whole
// navigation runs in tests against a recording host.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/devices/StorageDevice.h"
#include "engine/model/FileSystemNode.h"
#include "engine/model/ProgressCallbacks.h"

namespace keldrin::ui {

// What one run of the recovering dialog did.
struct RecoveryRun {
    uint32_t selected = 0;
    uint32_t recovered = 0;
    std::vector<std::string> names;  // what the writer reported: the folders it made
};

class IWizardHost {
  public:
    virtual ~IWizardHost() = default;
    virtual void ShowPage(int index) = 0;
    // An information box; text is the English original, translated by the host.
    virtual void ShowMessage(const char* text) = 0;
    // The same with the warning icon.
    virtual void ShowWarning(const char* text) = 0;
    // A Yes/No question, No the default; true for Yes.
    virtual bool Ask(const char* text) = 0;
    // The "Please wait, scanning system..." notice with the main window disabled, until EndWaiting.
    virtual void BeginWaiting() = 0;
    virtual void EndWaiting() = 0;
    // Runs work on a worker thread under the "Building directory" dialog, the main window disabled.
    // False when the user confirmed the abort.
    virtual bool RunBuild(const std::function<void(IDIRBuildCallback&)>& work) = 0;
    // The tip with its "do not show again" box; true when the box was ticked.
    virtual bool ShowTip(const char* text) = 0;
    // Copies the checked files below root into destination under the "Recovering" dialog.
    virtual RecoveryRun RunRecovery(CFileSystemNode* root, IStorageDevice* device,
                                    const std::string& destination) = 0;
};

}  // namespace keldrin::ui
