// Progress of a recovery on stderr (a bar with the current file when stderr is a terminal) and the
// counts the summary line reports. Ctrl+C cancels.
#pragma once

#include <cstdint>
#include <string>

#include "cli/ProgressLine.h"
#include "engine/model/ProgressCallbacks.h"

namespace keldrin::cli {

class RecoverProgress final : public IFileRecoverCallback {
  public:
    RecoverProgress();
    ~RecoverProgress();

    int Begin(uint32_t fileCount, uint64_t totalBytes) override;
    int AddFiles(uint32_t count) override;
    int AddBytes(uint64_t bytes) override;
    int SubtractBytes(uint32_t bytes) override;
    int SetCurrentFile(const char* name) override;
    int IsCancelled() override;

    uint32_t FilesDone() const { return files_; }
    uint64_t BytesDone() const { return bytes_; }
    bool WasCancelled() const { return InterruptGuard::Interrupted(); }

  private:
    void Draw(bool force);

    InterruptGuard interrupt_;
    bool terminal_;
    uint32_t totalFiles_ = 0;
    uint64_t totalBytes_ = 0;
    uint32_t files_ = 0;
    uint64_t bytes_ = 0;
    std::string current_;
    int lastPercent_ = -1;
    bool drawn_ = false;
};

}  // namespace keldrin::cli
