// Progress of a tree build on stderr: a bar with the phase text when stderr is a terminal, nothing
// otherwise. Ctrl+C asks the build to stop.
#pragma once

#include <cstdint>
#include <string>

#include "cli/ProgressLine.h"
#include "engine/model/ProgressCallbacks.h"

namespace keldrin::cli {

class BuildProgress final : public IDIRBuildCallback {
  public:
    BuildProgress();
    ~BuildProgress() override;

    int BeginPhase(const char* text, int64_t total) override;
    int Step(int64_t count) override;
    int SetPosition(int64_t position) override;
    int Finish() override;
    int IsCancelled() override;

    bool WasCancelled() const;

  private:
    void Draw(bool force);

    InterruptGuard interrupt_;
    bool terminal_;
    std::string phase_;
    int64_t total_ = 0;
    int64_t position_ = 0;
    int lastPercent_ = -1;
    bool drawn_ = false;
};

}  // namespace keldrin::cli
