#include "cli/BuildProgress.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace keldrin::cli {

BuildProgress::BuildProgress() : terminal_(isatty(STDERR_FILENO) == 1) {}

BuildProgress::~BuildProgress() {
    if (terminal_ && drawn_) std::fputs("\n", stderr);
}

int BuildProgress::BeginPhase(const char* text, int64_t total) {
    if (terminal_ && drawn_) std::fputs("\n", stderr);
    phase_ = text ? text : "";
    total_ = std::max<int64_t>(total, 0);
    position_ = 0;
    lastPercent_ = -1;
    Draw(true);
    return IsCancelled();
}

int BuildProgress::Step(int64_t count) {
    position_ += count;
    Draw(false);
    return IsCancelled();
}

int BuildProgress::SetPosition(int64_t position) {
    position_ = position;
    Draw(false);
    return IsCancelled();
}

int BuildProgress::Finish() {
    position_ = total_;
    Draw(true);
    return IsCancelled();
}

int BuildProgress::IsCancelled() {
    return InterruptGuard::Interrupted() ? kCancelled : kGoOn;
}

bool BuildProgress::WasCancelled() const {
    return InterruptGuard::Interrupted();
}

void BuildProgress::Draw(bool force) {
    if (!terminal_) return;
    const int64_t clamped = std::clamp<int64_t>(position_, 0, total_);
    const int percent = total_ > 0 ? static_cast<int>(clamped * 100 / total_) : 100;
    if (!force && percent == lastPercent_) return;
    lastPercent_ = percent;
    DrawProgressLine(phase_, percent);
    drawn_ = true;
}

}  // namespace keldrin::cli
