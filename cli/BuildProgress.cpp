#include "cli/BuildProgress.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace keldrin::cli {
namespace {

std::atomic<bool> g_interrupted{false};

extern "C" void OnInterrupt(int) {
    g_interrupted.store(true);
}

}  // namespace

BuildProgress::BuildProgress() : terminal_(isatty(STDERR_FILENO) == 1) {
    g_interrupted = false;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
}

BuildProgress::~BuildProgress() {
    signal(SIGINT, SIG_DFL);
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
    return g_interrupted.load() ? kCancelled : kGoOn;
}

bool BuildProgress::WasCancelled() const {
    return g_interrupted.load();
}

void BuildProgress::Draw(bool force) {
    if (!terminal_) return;
    const int64_t clamped = std::clamp<int64_t>(position_, 0, total_);
    const int percent = total_ > 0 ? static_cast<int>(clamped * 100 / total_) : 100;
    if (!force && percent == lastPercent_) return;
    lastPercent_ = percent;
    constexpr int kWidth = 30;
    char bar[kWidth + 1];
    const int filled = percent * kWidth / 100;
    for (int i = 0; i < kWidth; ++i) bar[i] = i < filled ? '#' : '.';
    bar[kWidth] = '\0';
    std::fprintf(stderr, "\r%-32.32s [%s] %3d%%", phase_.c_str(), bar, percent);
    std::fflush(stderr);
    drawn_ = true;
}

}  // namespace keldrin::cli
