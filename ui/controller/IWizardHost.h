// What the controllers ask of the windows: they never touch a widget themselves, so the whole
// navigation runs in tests against a recording host.
#pragma once

#include <functional>

#include "engine/model/ProgressCallbacks.h"

namespace keldrin::ui {

class IWizardHost {
  public:
    virtual ~IWizardHost() = default;
    virtual void ShowPage(int index) = 0;
    // An information box; text is the English original, translated by the host.
    virtual void ShowMessage(const char* text) = 0;
    // The "Please wait, scanning system..." notice with the main window disabled, until EndWaiting.
    virtual void BeginWaiting() = 0;
    virtual void EndWaiting() = 0;
    // Runs work on a worker thread under the "Building directory" dialog, the main window disabled.
    // False when the user confirmed the abort.
    virtual bool RunBuild(const std::function<void(IDIRBuildCallback&)>& work) = 0;
    // The tip with its "do not show again" box; true when the box was ticked.
    virtual bool ShowTip(const char* text) = 0;
};

}  // namespace keldrin::ui
