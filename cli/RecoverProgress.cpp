#include "cli/RecoverProgress.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace keldrin::cli {

RecoverProgress::RecoverProgress() : terminal_(isatty(STDERR_FILENO) == 1) {}

RecoverProgress::~RecoverProgress() {
    if (terminal_ && drawn_) std::fputs("\n", stderr);
}

int RecoverProgress::Begin(uint32_t fileCount, uint64_t totalBytes) {
    totalFiles_ = fileCount;
    totalBytes_ = totalBytes;
    Draw(true);
    return IsCancelled();
}

int RecoverProgress::AddFiles(uint32_t count) {
    files_ += count;
    return IsCancelled();
}

int RecoverProgress::AddBytes(uint64_t bytes) {
    bytes_ += bytes;
    Draw(false);
    return IsCancelled();
}

int RecoverProgress::SubtractBytes(uint32_t bytes) {
    bytes_ -= std::min<uint64_t>(bytes_, bytes);
    return IsCancelled();
}

int RecoverProgress::SetCurrentFile(const char* name) {
    current_ = name ? name : "";
    Draw(true);
    return IsCancelled();
}

int RecoverProgress::IsCancelled() {
    return InterruptGuard::Interrupted() ? kCancelled : kGoOn;
}

void RecoverProgress::Draw(bool force) {
    if (!terminal_) return;
    const uint64_t done = std::min(bytes_, totalBytes_);
    const int percent = totalBytes_ > 0 ? static_cast<int>(done * 100 / totalBytes_) : 100;
    if (!force && percent == lastPercent_) return;
    lastPercent_ = percent;
    DrawProgressLine(current_, percent);
    drawn_ = true;
}

}  // namespace keldrin::cli
