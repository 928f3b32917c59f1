// The sector-scan subcommands: "carve" (RAW files only, copied out or listed) and "scan" (the full
// scan with its ranked file-system candidates), and the progress display they share.
#pragma once

#include <chrono>
#include <cstdint>

#include "cli/Commands.h"
#include "cli/ProgressLine.h"
#include "engine/search/IntelligentSearchCallback.h"

namespace keldrin::cli {

Command AddCarveCommand(CLI::App& app);
Command AddScanCommand(CLI::App& app);

// A bar with the elapsed and remaining time on stderr while the scan runs, when stderr is a
// terminal; redrawn at most every 300 ms. Ctrl+C cancels the scan.
class ScanProgress final : public IIntelligentSearchCallback {
  public:
    ScanProgress();
    ~ScanProgress() override;

    void SetPosition(int64_t blockIndex) override;
    void SetRange(int64_t first, int64_t last) override;
    int IsCancelled() override;
    void BlockDone() override {}
    void GetCounters(SearchCounters& out) override { out = counters_; }
    void SetCounters(const SearchCounters& counters) override { counters_ = counters; }

    bool WasCancelled() const { return InterruptGuard::Interrupted(); }

  private:
    void Draw(bool force);

    InterruptGuard interrupt_;
    bool terminal_;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastDraw_;
    int64_t first_ = 0;
    int64_t last_ = 0;
    int64_t position_ = -1;
    bool drawn_ = false;
    SearchCounters counters_;
};

}  // namespace keldrin::cli
