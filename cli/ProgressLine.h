// What the progress displays of the command line share: Ctrl+C as a cancel request, and one
// redrawn line on stderr.
#pragma once

#include <string>

namespace keldrin::cli {

// While one lives, Ctrl+C sets the interrupted flag instead of ending the process.
class InterruptGuard {
  public:
    InterruptGuard();
    ~InterruptGuard();
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

    static bool Interrupted();
};

// "\r<text> [#####.....] NN%" on stderr.
void DrawProgressLine(const std::string& text, int percent);

}  // namespace keldrin::cli
