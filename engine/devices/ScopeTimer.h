// Times one step of discovery or analysis into the trace log: "<name> dwElapsedTime <ms> ".
#pragma once

#include <cstdint>

#include "platform/Clock.h"
#include "shared/Log.h"

namespace keldrin {

class ScopeTimer {
  public:
    explicit ScopeTimer(const char* name) : name_(name), start_(platform::TickMs()) {}
    ~ScopeTimer() {
        DebugTrace("%s dwElapsedTime %u \n", name_, static_cast<unsigned>(platform::TickMs() - start_));
    }
    ScopeTimer(const ScopeTimer&) = delete;
    ScopeTimer& operator=(const ScopeTimer&) = delete;

  private:
    const char* name_;
    uint64_t start_;
};

}  // namespace keldrin
