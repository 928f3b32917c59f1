#include "cli/ProgressLine.h"

#include <signal.h>

#include <atomic>
#include <cstdio>

namespace keldrin::cli {
namespace {

std::atomic<bool> g_interrupted{false};

extern "C" void OnInterrupt(int) {
    g_interrupted.store(true);
}

}  // namespace

InterruptGuard::InterruptGuard() {
    g_interrupted = false;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
}

InterruptGuard::~InterruptGuard() {
    signal(SIGINT, SIG_DFL);
}

bool InterruptGuard::Interrupted() {
    return g_interrupted.load();
}

void DrawProgressLine(const std::string& text, int percent) {
    constexpr int kWidth = 30;
    char bar[kWidth + 1];
    const int filled = percent * kWidth / 100;
    for (int i = 0; i < kWidth; ++i) bar[i] = i < filled ? '#' : '.';
    bar[kWidth] = '\0';
    std::fprintf(stderr, "\r%-32.32s [%s] %3d%%", text.c_str(), bar, percent);
    std::fflush(stderr);
}

}  // namespace keldrin::cli
